#include "gui/dialogs/preview_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/qt_text.h"

namespace soramine::gui {

PreviewModel::PreviewModel(const soramine::PreviewResult& result, QObject* parent)
    : QAbstractTableModel(parent), result_(result) {}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(result_.previewOld.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const auto& column = index.column() == 0 ? result_.previewOld : result_.previewNew;
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= column.size())
        return {};
    const QString text = qs(column[row]);
    // A tip only for a cell with something to show, as the list's info tips do.
    if (role == Qt::ToolTipRole && text.isEmpty())
        return {};
    return text;
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("変更前") : QStringLiteral("変更後");
}

PreviewDialog::PreviewDialog(const soramine::PreviewResult& result, QWidget* mainWindow)
    : QDialog(mainWindow),
      result_(result),
      table_(new QTableView(this)),
      copy_(new QPushButton(QStringLiteral("結果をコピー(&P)"), this)) {
    setWindowTitle(QStringLiteral("変更予測"));
    table_->setModel(new PreviewModel(result_, table_));
    table_->setAccessibleName(QStringLiteral("変更予測"));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setShowGrid(false);
    table_->setSortingEnabled(false);
    table_->verticalHeader()->hide();
    // Fixed row heights: the view never measures the rows one by one.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    // Both columns take half of the list's width, also after a resize.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionsClickable(false);

    auto* close = new QPushButton(QStringLiteral("閉じる(&C)"), this);
    copy_->setAccessibleName(QStringLiteral("結果をコピー(P)"));
    close->setAccessibleName(QStringLiteral("閉じる(C)"));
    copy_->setAutoDefault(false);
    for (QPushButton* button : {copy_, close})
        button->setFixedWidth(100);
    connect(copy_, &QPushButton::clicked, this, &PreviewDialog::copyToClipboard);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(copy_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(table_);
    layout->addLayout(buttons);

    // Covers the main window exactly.
    if (mainWindow)
        setGeometry(mainWindow->geometry());
    else
        resize(740, 560);
}

void PreviewDialog::copyToClipboard() {
    const QString text = qs(soramine::previewClipboardText(result_));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    if (clipboard->text() != text) {
        showMessage(this, errorMessage(u"クリップボードオープンエラー"));
        return;
    }
    showMessage(this, {u"クリップボードへコピーしました。", u"完了", Icon::Information});
}

}  // namespace soramine::gui
