#include "gui/dialogs/detail_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::gui {
namespace {

// A control named after its caption.
template <class Button>
Button* named(Button* button) {
    button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    return button;
}

QCheckBox* check(const char* caption, QLayout* into) {
    auto* box = named(new QCheckBox(QString::fromUtf8(caption)));
    into->addWidget(box);
    return box;
}

QGroupBox* group(const char* title, QLayout* layout) {
    auto* box = new QGroupBox(QString::fromUtf8(title));
    box->setLayout(layout);
    return box;
}

}  // namespace

DetailSettingsDialog::DetailSettingsDialog(const DetailSettings& initial, bool allowSwaps,
                                           const QString& listFamily, std::u16string program,
                                           std::u16string dataHome, Prompts& prompts,
                                           QWidget* parent)
    : QDialog(parent),
      values_(initial),
      allowSwaps_(allowSwaps),
      program_(std::move(program)),
      dataHome_(std::move(dataHome)),
      prompts_(prompts) {
    setWindowTitle(QStringLiteral("詳細設定"));

    auto* importFiles = new QVBoxLayout;
    auto* standard = check("標準ファイル", importFiles);
    standard->setChecked(true);
    standard->setEnabled(false);
    readOnly_ = check("読み取り専用(&R)", importFiles);
    system_ = check("システムファイル(&Y)", importFiles);
    hidden_ = check("隠しファイル(&H)", importFiles);

    auto* sendTo = new QGridLayout;
    importAction_ = named(new QCheckBox(QStringLiteral("リストに取り込んで起動(&L)")));
    swapAction_ = named(new QCheckBox(QStringLiteral("ファイル名の入れ替え(&G)")));
    auto* create = named(new QPushButton(QStringLiteral("作成(&M)")));
    auto* remove = named(new QPushButton(QStringLiteral("削除(&D)")));
    sendTo->addWidget(importAction_, 0, 0, 1, 2);
    sendTo->addWidget(swapAction_, 1, 0, 1, 2);
    sendTo->addWidget(create, 2, 0);
    sendTo->addWidget(remove, 2, 1);

    auto* columns = new QVBoxLayout;
    createdColumn_ = check("作成日時(&J)", columns);
    modifiedColumn_ = check("更新日時(&B)", columns);
    sizeColumn_ = check("ファイルサイズ(&E)", columns);

    auto* font = new QVBoxLayout;
    fonts_ = new QComboBox;
    fonts_->addItems(QFontDatabase::families());
    int shown = fonts_->findText(qs(values_.fontName), Qt::MatchExactly);
    if (shown < 0)
        shown = fonts_->findText(listFamily, Qt::MatchExactly);
    fonts_->setCurrentIndex(shown);
    fontShownFirst_ = fonts_->currentText();
    fonts_->setAccessibleName(QStringLiteral("フォント名"));
    auto* fontCaption = new QLabel(QStringLiteral("フォント名(&F):"));
    fontCaption->setBuddy(fonts_);
    auto* note = new QLabel(QStringLiteral("※注: 次回起動時から適用されます"));
    QPalette red = note->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    note->setPalette(red);
    font->addWidget(fontCaption);
    font->addWidget(fonts_);
    font->addWidget(note);

    auto* others = new QVBoxLayout;
    toolTips_ = check("ツールチップを表示する(&T)", others);
    importAtOnce_ = check("フォルダ選択で取り込む(&A)", others);
    sortOnImport_ = check("取り込み時にソートする(&O)", others);
    fullWidth_ = check("禁則文字を全角にする(&W)", others);
    checkAtStart_ = check("起動時に\nアップデートチェック(&U)", others);
    checkAtStart_->setAccessibleName(QStringLiteral("起動時にアップデートチェック"));
    showLog_ = check("変更後にログを表示する(&K)", others);
    allowSwapsBox_ = check("名前の入れ替えを許可する(&I)", others);
    allowSwapsBox_->setChecked(allowSwaps_);

    auto* history = new QHBoxLayout;
    historyLimit_ = new QSpinBox;
    historyLimit_->setRange(0, 30);
    historyLimit_->setValue(values_.historyLimit);
    historyLimit_->setAccessibleName(QStringLiteral("保持する最大数"));
    auto* limitCaption = new QLabel(QStringLiteral("保持する最大数(&X):"));
    limitCaption->setBuddy(historyLimit_);
    history->addWidget(limitCaption);
    history->addWidget(historyLimit_);
    history->addStretch();

    auto* ok = named(new QPushButton(QStringLiteral("設　定(&S)")));
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(QStringLiteral("キャンセル(&C)")));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(group("取り込むファイル", importFiles));
    left->addWidget(group("「送る」のショートカット", sendTo));
    left->addWidget(group("リスト項目(次回起動時から)", columns));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(group("フォント設定", font));
    right->addWidget(group("その他", others));
    right->addWidget(group("コンボボックスの設定", history));
    right->addStretch();
    auto* both = new QHBoxLayout;
    both->addLayout(left);
    both->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(both);
    all->addLayout(buttons);

    for (const auto& [box, field] : flagBoxes())
        box->setChecked(values_.*field != 0);

    if (values_.toolTips) {
        const std::pair<QWidget*, const char*> tips[] = {
            {standard, "標準ファイルを取り込みます(変更不可)"},
            {system_, "システムファイルを取り込むようにします"},
            {hidden_, "隠しファイルを取り込むようにします"},
            {readOnly_, "読み取り専用ファイルを取り込むようにします"},
            {ok, "設定して終了します"},
            {cancel, "設定しないで終了します"},
            {toolTips_, "ツールチップヒントを表示する場合にチェックして下さい"},
            {fonts_, "エディットコントロール、リストコントロールのフォントを選択して下さい"},
            {importAtOnce_, "チェックするとフォルダ選択後すぐにリストへ取り込むようになります"},
            {sortOnImport_, "チェックすると取り込み時に昇順でソートするようになります"},
            {importAction_, "「送る」からリストに取り込んで起動できるようになります"},
            {swapAction_, "「送る」からファイル名の入れ替えができるようになります"},
            {create, "チェックした項目のショートカットを「送る」へ作成します"},
            {remove, "チェックした項目のショートカットを「送る」から削除します"},
            {historyLimit_, "各コンボボックスのリスト内に保持するアイテム数を設定します"},
            {fullWidth_, "禁則文字があった場合に全角文字へ変換するようにします"},
            {checkAtStart_, "起動時に最新バージョンがないか確認するようにします"},
            {createdColumn_, "リストへ作成日時を表示するかどうか選択します"},
            {modifiedColumn_, "リストへ更新日時を表示するかどうか選択します"},
            {sizeColumn_, "リストへファイルサイズを表示するかどうか選択します"},
            {showLog_, "変更後にログを表示するかどうか選択します"},
            {allowSwapsBox_,
             "実行する項目どうしで名前を入れ替えたり、ずらしたりできるようにします"},
        };
        for (const auto& [widget, tip] : tips)
            widget->setToolTip(QString::fromUtf8(tip));
    }

    connect(ok, &QPushButton::clicked, this, &DetailSettingsDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(create, &QPushButton::clicked, this, &DetailSettingsDialog::createActions);
    connect(remove, &QPushButton::clicked, this, &DetailSettingsDialog::deleteActions);
}

std::vector<std::pair<QCheckBox*, std::int32_t DetailSettings::*>> DetailSettingsDialog::flagBoxes()
    const {
    return {
        {readOnly_, &DetailSettings::importReadOnly},
        {system_, &DetailSettings::importSystem},
        {hidden_, &DetailSettings::importHidden},
        {createdColumn_, &DetailSettings::showCreatedColumn},
        {modifiedColumn_, &DetailSettings::showModifiedColumn},
        {sizeColumn_, &DetailSettings::showSizeColumn},
        {toolTips_, &DetailSettings::toolTips},
        {importAtOnce_, &DetailSettings::importAtOnce},
        {sortOnImport_, &DetailSettings::sortOnImport},
        {fullWidth_, &DetailSettings::fullWidthForbidden},
        {checkAtStart_, &DetailSettings::checkAtStart},
        {showLog_, &DetailSettings::showLog},
    };
}

void DetailSettingsDialog::confirm() {
    for (const auto& [box, field] : flagBoxes())
        values_.*field = box->isChecked() ? 1 : 0;
    allowSwaps_ = allowSwapsBox_->isChecked();
    // The stored name stays unless another font was chosen: a stored font that is not
    // installed here (the list's font shows in its place) is kept for where it is.
    if (fonts_->currentIndex() >= 0 && fonts_->currentText() != fontShownFirst_)
        values_.fontName = u16(fonts_->currentText());
    values_.historyLimit = historyLimit_->value();
    accept();
}

std::vector<app::SendToAction> DetailSettingsDialog::checkedActions() const {
    std::vector<app::SendToAction> actions;
    if (importAction_->isChecked())
        actions.push_back(app::SendToAction::Import);
    if (swapAction_->isChecked())
        actions.push_back(app::SendToAction::Swap);
    return actions;
}

void DetailSettingsDialog::createActions() {
    const auto actions = checkedActions();
    if (actions.empty() ||
        !prompts_.askYesNo(this, Message{u"チェック項目のショートカットを作成しますか？", u"確認",
                                         Icon::Information}))
        return;
    for (app::SendToAction action : actions) {
        if (auto failed = app::createSendTo(action, program_, dataHome_))
            return prompts_.showMessage(this, *failed);
    }
    prompts_.showMessage(this,
                         Message{u"ショートカットを作成しました。", u"確認", Icon::Information});
}

void DetailSettingsDialog::deleteActions() {
    const auto actions = checkedActions();
    if (actions.empty() ||
        !prompts_.askYesNo(this, Message{u"チェック項目のショートカットを削除しますか？", u"確認",
                                         Icon::Question}))
        return;
    for (app::SendToAction action : actions) {
        if (auto failed = app::deleteSendTo(action, dataHome_))
            return prompts_.showMessage(this, *failed);
    }
    prompts_.showMessage(this,
                         Message{u"ショートカットを削除しました。", u"確認", Icon::Information});
}

}  // namespace soramine::gui
