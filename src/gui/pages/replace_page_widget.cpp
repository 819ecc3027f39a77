#include "gui/pages/replace_page_widget.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "gui/pages/page_form.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

ReplacePageWidget::ReplacePageWidget(soramine::ReplacePage& page, soramine::RenameSession& session,
                                     QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode = form_->radioGroup(
        page_.settings.mode,
        {QStringLiteral("文字を置換する(&H)"), QStringLiteral("位置で置換する(&L)")});
    search_ = form_->historyBox(page_.search);
    caseSensitive_ = form_->checkBox(QStringLiteral("大文字、小文字を区別する(&J)"),
                                     page_.settings.caseSensitive);
    regex_ = form_->checkBox(QStringLiteral("正規表現(&Q)"), page_.settings.regex);
    position_ = form_->lineEdit(page_.settings.position);
    HistoryComboBox* replacement = form_->historyBox(page_.replacement);
    QCheckBox* ignoreExtension =
        form_->checkBox(QStringLiteral("拡張子を無視する(&P)"), page_.settings.ignoreExtension);

    form_->tip(search_, QStringLiteral("変更前の文字です"));
    form_->tip(replacement, QStringLiteral("変更後の文字です"));
    form_->tip(position_, QStringLiteral("置換を開始する位置を入力"));
    form_->tip(mode->button(0), QStringLiteral("文字を置換する場合はここを選択"));
    form_->tip(mode->button(1), QStringLiteral("位置で置換する場合はここを選択"));
    form_->tip(caseSensitive_,
               QStringLiteral("アルファベットの大文字と小文字を区別する場合にチェックして下さい"));
    form_->tip(ignoreExtension, QStringLiteral("拡張子を無視する場合にチェックしてください"));
    form_->tip(regex_, QStringLiteral("変更前の文字を正規表現として扱う場合にチェックしてください"
                                      "（変更後の文字では $1～$9、${名前} がグループを表します）"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });
    connect(regex_, &QCheckBox::toggled, this, [this] {
        takeSettings();
        applyEnabling();
    });
    connect(position_, &QLineEdit::textChanged, this, [this](const QString& typed) {
        const QString repaired = qs(repairedPosition(u16(typed)));
        if (repaired != typed)
            position_->setText(repaired);
    });

    auto* positionRow = new QHBoxLayout;
    position_->setMaximumWidth(60);
    positionRow->addWidget(position_);
    positionRow->addWidget(form_->label(QStringLiteral("文字目以降")));
    positionRow->addStretch();

    // The case check box has a line of its own under the wildcard hint: beside it, the two
    // would be wider than the window gives a page.
    auto* grid = new QGridLayout(this);
    grid->addWidget(mode->button(0), 0, 0, 1, 2);
    grid->addWidget(mode->button(1), 0, 2);
    grid->addWidget(form_->caption(QStringLiteral("変更前の文字(&I):"), search_), 1, 0);
    grid->addWidget(search_, 1, 1, 1, 2);
    searchHint_ = form_->hint(QString());
    grid->addWidget(searchHint_, 2, 1, 1, 2);
    auto* searchOptions = new QHBoxLayout;
    searchOptions->addWidget(caseSensitive_);
    searchOptions->addWidget(regex_);
    searchOptions->addStretch();
    grid->addLayout(searchOptions, 3, 1, 1, 2);
    grid->addWidget(form_->caption(QStringLiteral("変更位置(&M):"), position_), 4, 0);
    grid->addLayout(positionRow, 4, 1, 1, 2);
    grid->addWidget(form_->caption(QStringLiteral("変更後の文字(&E):"), replacement), 5, 0);
    grid->addWidget(replacement, 5, 1, 1, 2);
    grid->addWidget(form_->hint(QStringLiteral("※ \\ → フォルダ名")), 6, 1, 1, 2);
    grid->addWidget(ignoreExtension, 7, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(8, 1);

    showSettings();
}

void ReplacePageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void ReplacePageWidget::takeSettings() {
    form_->take();
}

void ReplacePageWidget::applyEnabling() {
    const bool byText = page_.settings.mode == 0;
    search_->setEnabled(byText);
    caseSensitive_->setEnabled(byText);
    regex_->setEnabled(byText);
    position_->setEnabled(!byText);
    searchHint_->setText(page_.settings.regex ? QStringLiteral("※正規表現が使えます")
                                              : QStringLiteral("※ワイルドカード\"*\"が使えます"));
}

}  // namespace soramine::gui
