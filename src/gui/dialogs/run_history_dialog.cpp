#include "gui/dialogs/run_history_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/platform/fs.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

QString nameOf(const std::u16string& path) {
    return qs(std::u16string_view(path).substr(path.rfind(platform::kSeparator) + 1));
}

// A dialog of a read-only text and "閉じる".
void showText(QWidget* parent, const QString& title, const QString& caption, const QString& text) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* label = new QLabel(caption, &dialog);
    auto* box = new QPlainTextEdit(text, &dialog);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setAccessibleName(title);
    label->setBuddy(box);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(box);
    layout->addWidget(buttons);
    dialog.resize(640, 400);
    box->setFocus();
    dialog.exec();
}

}  // namespace

QString runStartText(const Journal& journal) {
    return QDateTime::fromSecsSinceEpoch(journal.started.seconds)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

RunHistoryDialog::RunHistoryDialog(std::vector<JournalInfo> runs,
                                   const std::function<QString(int)>& methodName, QWidget* parent)
    : QDialog(parent),
      runs_(std::move(runs)),
      list_(new QTreeWidget(this)),
      renamesButton_(new QPushButton(QStringLiteral("変更内容(&D)..."), this)),
      undoButton_(new QPushButton(QStringLiteral("元に戻す(&U)"), this)) {
    setWindowTitle(QStringLiteral("実行履歴"));
    auto* label = new QLabel(QStringLiteral("記録のある実行(&L) (新しい順):"), this);
    label->setBuddy(list_);
    list_->setAccessibleName(QStringLiteral("記録のある実行"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setHeaderLabels({QStringLiteral("日時"), QStringLiteral("フォルダ"),
                            QStringLiteral("方式"), QStringLiteral("件数"),
                            QStringLiteral("元に戻せる")});
    for (JournalInfo& run : runs_) {
        // The list holds the head of each journal only: the whole is read for its count.
        if (auto whole = readJournal(run.path))
            run.journal = std::move(*whole);
        const std::size_t undoable = undoableItems(run.journal);
        QString state =
            undoable == 0 ? QStringLiteral("いいえ") : QStringLiteral("はい (%1 件)").arg(undoable);
        if (run.unfinished)
            state += QStringLiteral(" ・中断");
        auto* item = new QTreeWidgetItem(
            list_, {runStartText(run.journal), qs(run.journal.folder), methodName(run.method),
                    QString::number(renamedItems(run.journal)), state});
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!runs_.empty())
        list_->setCurrentItem(list_->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(renamesButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(undoButton_, QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    // Enter shows the renames: no key press undoes a run by accident.
    renamesButton_->setDefault(true);
    connect(renamesButton_, &QPushButton::clicked, this, &RunHistoryDialog::showRenames);
    connect(undoButton_, &QPushButton::clicked, this, &RunHistoryDialog::undoChosen);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, &RunHistoryDialog::updateButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    if (runs_.empty())
        layout->addWidget(new QLabel(QStringLiteral("元に戻せる実行の記録はありません。"), this));
    layout->addWidget(buttons);
    resize(760, 360);
    list_->setFocus();
    updateButtons();
}

void RunHistoryDialog::updateButtons() {
    const bool chosen = list_->currentItem() != nullptr;
    renamesButton_->setEnabled(chosen);
    undoButton_->setEnabled(chosen);
}

void RunHistoryDialog::showRenames() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0)
        return;
    const Journal& journal = runs_[static_cast<std::size_t>(row)].journal;
    QString text;
    for (const JournalEntry& e : journal.entries) {
        text += nameOf(e.from) + QStringLiteral(" → ") + nameOf(e.to);
        if (!e.done)
            text += QStringLiteral("  (未完了)");
        text += QLatin1Char('\n');
    }
    showText(this, QStringLiteral("変更内容"),
             QStringLiteral("%1  %2 (&N):").arg(runStartText(journal), qs(journal.folder)), text);
    // Back to this dialog and its button: without a window manager nothing else would give
    // this window the keyboard again.
    activateWindow();
    renamesButton_->setFocus();
}

void RunHistoryDialog::undoChosen() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0)
        return;
    chosen_ = runs_[static_cast<std::size_t>(row)].path;
    accept();
}

}  // namespace soramine::gui
