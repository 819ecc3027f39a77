#include "gui/pages/conversion_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/message_box.h"
#include "gui/pages/page_form.h"
#include "gui/qt_text.h"

namespace soramine::gui {

ConversionPageWidget::ConversionPageWidget(soramine::ConversionPage& page,
                                           soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    auto& s = page_.settings;
    QButtonGroup* mode = form_->radioGroup(
        s.mode, {QStringLiteral("大文字を小文字に(&H)"), QStringLiteral("小文字を大文字に(&I)"),
                 QStringLiteral("かな→カナ(&6)"), QStringLiteral("カナ→かな(&7)"),
                 QStringLiteral("先頭英字を大文字に(&0)"), QStringLiteral("全角を半角に(&J)"),
                 QStringLiteral("半角を全角に(&L)"), QStringLiteral("左右逆転(&M)"),
                 QStringLiteral("調整(&P)")});
    lettersOnly_ = form_->checkBox(QStringLiteral("英字のみ(&5)"), s.lettersOnly);
    widthClasses_ = {form_->checkBox(QStringLiteral("アルファベット(&1)"), s.alphabet),
                     form_->checkBox(QStringLiteral("数字(&2)"), s.digits),
                     form_->checkBox(QStringLiteral("カタカナ(&3)"), s.katakana),
                     form_->checkBox(QStringLiteral("記号(&4)"), s.symbols)};
    padSide_ =
        form_->radioGroup(s.padBehind, {QStringLiteral("前方(&Q)"), QStringLiteral("後方(&T)")});
    fill_ = form_->lineEdit(s.fill);
    fill_->setMaximumWidth(40);
    fillCaption_ = form_->caption(QStringLiteral("埋める文字(&V):"), fill_);
    QCheckBox* ignoreExtension =
        form_->checkBox(QStringLiteral("拡張子を無視(&E)"), s.ignoreExtension);

    form_->tip(mode->button(ConversionMode::kToLowerCase),
               QStringLiteral("アルファベットの大文字を小文字にします"));
    form_->tip(mode->button(ConversionMode::kToUpperCase),
               QStringLiteral("アルファベットの小文字を大文字にします"));
    form_->tip(mode->button(ConversionMode::kHiraganaToKatakana),
               QStringLiteral("ひらがなをカタカナに変換します"));
    form_->tip(mode->button(ConversionMode::kKatakanaToHiragana),
               QStringLiteral("カタカナをひらがなに変換します"));
    form_->tip(mode->button(ConversionMode::kCapitaliseWords),
               QStringLiteral("英字の先頭文字だけ大文字にします"));
    form_->tip(mode->button(ConversionMode::kToHalfWidth),
               QStringLiteral("アルファベット/数字の全角を半角にします"));
    form_->tip(mode->button(ConversionMode::kToFullWidth),
               QStringLiteral("アルファベット/数字の半角を全角にします"));
    form_->tip(mode->button(ConversionMode::kReverse),
               QStringLiteral("ファイル名を左右逆転させます"));
    form_->tip(ignoreExtension, QStringLiteral("拡張子を含めたくない場合にチェックしてください。"));
    form_->tip(mode->button(ConversionMode::kPadToLongest),
               QStringLiteral("ファイル名を一番長いものに合わせます"));
    form_->tip(padSide_->button(0), QStringLiteral("指定の文字を先頭から埋めていきます"));
    form_->tip(padSide_->button(1), QStringLiteral("指定の文字を後方から埋めていきます"));
    form_->tip(fill_, QStringLiteral("長さを合わせるときに使う文字です"));
    form_->tip(widthClasses_[0],
               QStringLiteral("アルファベットを含める場合にチェックしてください"));
    form_->tip(widthClasses_[1], QStringLiteral("数字を含める場合にチェックしてください"));
    form_->tip(widthClasses_[2], QStringLiteral("カタカナを含める場合にチェックしてください"));
    form_->tip(widthClasses_[3], QStringLiteral("記号を含める場合にチェックしてください"));
    form_->tip(lettersOnly_, QStringLiteral("英字のみを単語とみなします"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });
    connect(fill_, &QLineEdit::textEdited, this, &ConversionPageWidget::checkFill);

    // Left the modes that need no more than the button, and capitalising; right the width
    // conversions and the adjusting, each mode's options indented under it.
    auto* modes = new QGroupBox(this);
    auto* grid = new QGridLayout(modes);
    grid->setColumnMinimumWidth(0, 20);
    grid->setColumnMinimumWidth(3, 20);
    auto addMode = [&](ConversionMode m, int row, int column) {
        grid->addWidget(mode->button(m), row, column, 1, 3);
    };
    addMode(ConversionMode::kToLowerCase, 0, 0);
    addMode(ConversionMode::kToUpperCase, 1, 0);
    addMode(ConversionMode::kHiraganaToKatakana, 2, 0);
    addMode(ConversionMode::kKatakanaToHiragana, 3, 0);
    addMode(ConversionMode::kReverse, 4, 0);
    addMode(ConversionMode::kCapitaliseWords, 5, 0);
    grid->addWidget(lettersOnly_, 6, 1, 1, 2);
    addMode(ConversionMode::kToHalfWidth, 0, 3);
    addMode(ConversionMode::kToFullWidth, 1, 3);
    grid->addWidget(widthClasses_[0], 2, 4);
    grid->addWidget(widthClasses_[1], 2, 5);
    grid->addWidget(widthClasses_[2], 3, 4);
    grid->addWidget(widthClasses_[3], 3, 5);
    addMode(ConversionMode::kPadToLongest, 4, 3);
    grid->addWidget(padSide_->button(0), 5, 4);
    grid->addWidget(padSide_->button(1), 5, 5);
    auto* fillRow = new QHBoxLayout;
    fillRow->addWidget(fillCaption_);
    fillRow->addWidget(fill_);
    fillRow->addStretch();
    grid->addLayout(fillRow, 6, 4, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modes);
    layout->addWidget(ignoreExtension);
    layout->addStretch();

    PageForm::tabOrder(
        {mode->button(ConversionMode::kToLowerCase), mode->button(ConversionMode::kToUpperCase),
         mode->button(ConversionMode::kHiraganaToKatakana),
         mode->button(ConversionMode::kKatakanaToHiragana), mode->button(ConversionMode::kReverse),
         mode->button(ConversionMode::kCapitaliseWords), lettersOnly_,
         mode->button(ConversionMode::kToHalfWidth), mode->button(ConversionMode::kToFullWidth),
         widthClasses_[0], widthClasses_[1], widthClasses_[2], widthClasses_[3],
         mode->button(ConversionMode::kPadToLongest), padSide_->button(0), padSide_->button(1),
         fill_, ignoreExtension});
    showSettings();
}

void ConversionPageWidget::showSettings() {
    form_->show();
    shownFill_ = fill_->text();
    applyEnabling();
}

void ConversionPageWidget::takeSettings() {
    form_->take();
}

void ConversionPageWidget::applyEnabling() {
    const std::int32_t mode = page_.settings.mode;
    lettersOnly_->setEnabled(mode == ConversionMode::kCapitaliseWords);
    for (QCheckBox* box : widthClasses_)
        box->setEnabled(mode == ConversionMode::kToHalfWidth ||
                        mode == ConversionMode::kToFullWidth);
    const bool padding = mode == ConversionMode::kPadToLongest;
    for (QAbstractButton* button : padSide_->buttons())
        button->setEnabled(padding);
    fill_->setEnabled(padding);
    fillCaption_->setEnabled(padding);
}

void ConversionPageWidget::checkFill(const QString& typed) {
    if (const auto problem = soramine::fillTextProblem(u16(typed))) {
        fill_->setText(shownFill_);
        showMessage(this, *problem);
        return;
    }
    shownFill_ = typed;
}

}  // namespace soramine::gui
