// The main window's column of new names ("変更後"): computed by LiveNames as the settings
// change, shown on request from the header's menu or the list's context menu.

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSpinBox>

#include "gui/item_list_model.h"
#include "gui/item_list_view.h"
#include "gui/live_names.h"
#include "gui/main_window.h"

namespace soramine::gui {
namespace {

// Changes made together (a job loaded, a page switched) cost one start: the computation
// begins once the window's thread has handled them all, without a pause that each key
// would wait through.
constexpr int kSettleMs = 0;

}  // namespace

void MainWindow::setUpNewNames() {
    liveNames_ = new LiveNames(this);
    connect(liveNames_, &LiveNames::namesReady, this,
            [this](const std::shared_ptr<const LiveNamesBatch>& batch) {
                model_->takeNewNames(*batch);
            });
    newNamesTimer_.setSingleShot(true);
    connect(&newNamesTimer_, &QTimer::timeout, this, &MainWindow::computeNewNames);
    newNamesAction_ = new QAction(QStringLiteral("変更後の名前を表示(&N)"), this);
    newNamesAction_->setCheckable(true);
    newNamesAction_->setChecked(model_->newNamesColumn() >= 0);
    connect(newNamesAction_, &QAction::toggled, this, &MainWindow::showNewNames);
    // Any change of the items: their snapshot is taken again at the next computation.
    const auto itemsChanged = [this] {
        itemsSnapshot_.reset();
        scheduleNewNames();
    };
    connect(model_, &QAbstractItemModel::modelReset, this, itemsChanged);
    connect(model_, &ItemListModel::rowsRefreshed, this, itemsChanged);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (session_.settings.selectedOnly != 0 || selectedOnlyCheck_->isChecked())
            scheduleNewNames();
    });
    watchSettings(centralWidget());
}

void MainWindow::watchSettings(QWidget* root) {
    // Every control that holds a setting; the buttons among them only matter when checkable.
    const auto changed = [this] { scheduleNewNames(); };
    for (auto* edit : root->findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, changed);
    for (auto* box : root->findChildren<QComboBox*>())
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    for (auto* button : root->findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::toggled, this, changed);
    for (auto* spin : root->findChildren<QSpinBox*>())
        connect(spin, &QSpinBox::valueChanged, this, changed);
    for (auto* time : root->findChildren<QDateTimeEdit*>())
        connect(time, &QDateTimeEdit::dateTimeChanged, this, changed);
    for (auto* text : root->findChildren<QPlainTextEdit*>()) {
        if (text != logPanel_)
            connect(text, &QPlainTextEdit::textChanged, this, changed);
    }
}

void MainWindow::scheduleNewNames() {
    if (liveNames_ && model_->newNamesColumn() >= 0)
        newNamesTimer_.start(kSettleMs);
}

void MainWindow::computeNewNames() {
    if (model_->newNamesColumn() < 0)
        return;
    // A run reads the session's pages meanwhile; the column follows when it is over.
    if (session_.running())
        return;
    readControls();
    LiveNamesRequest request = liveNamesRequest(session_);
    if (!itemsSnapshot_)
        itemsSnapshot_ = std::make_shared<const ItemTable>(session_.items());
    request.items = itemsSnapshot_;
    const int top = std::max(list_->rowAt(0), 0);
    const int bottom = list_->rowAt(list_->viewport()->height() - 1);
    request.visibleRows = {static_cast<std::size_t>(top),
                           static_cast<std::size_t>(bottom < 0 ? model_->rowCount() : bottom + 1)};
    liveNames_->request(std::move(request));
}

void MainWindow::showNewNames(bool on) {
    if ((model_->newNamesColumn() >= 0) == on)
        return;
    // The widths go to the INI file and come back with the columns.
    const auto& before = model_->columns();
    for (size_t c = 0; c < before.size(); ++c)
        writeColumnWidth(session_.ini, before[c], list_->columnWidth(static_cast<int>(c)));
    model_->setColumns(shownColumns(session_.detail, on));
    const auto& after = model_->columns();
    for (size_t c = 0; c < after.size(); ++c)
        list_->setColumnWidth(static_cast<int>(c), readColumnWidth(session_.ini, after[c]));
    applyingSelection_ = true;
    list_->selectRows(session_.selection());
    applyingSelection_ = false;
    showSortIndicator(sortedBy_, sortedDescending_);
    writeNewNamesShown(session_.ini, on);
    newNamesAction_->setChecked(on);
    if (on)
        scheduleNewNames();
    else
        liveNames_->cancel();
}

void MainWindow::showHeaderMenu(const QPoint& globalPos) {
    if (!headerMenu_) {
        headerMenu_ = new QMenu(this);
        headerMenu_->addActions(sortMenu()->actions());
        headerMenu_->addSeparator();
        headerMenu_->addAction(newNamesAction_);
    }
    headerMenu_->popup(globalPos);
}

}  // namespace soramine::gui
