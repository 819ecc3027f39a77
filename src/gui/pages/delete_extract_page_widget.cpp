#include "gui/pages/delete_extract_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"
#include "gui/qt_text.h"

namespace soramine::gui {

DeleteExtractPageWidget::DeleteExtractPageWidget(soramine::DeleteExtractPage& page,
                                                 soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    auto& s = page_.settings;
    QButtonGroup* mode =
        form_->radioGroup(s.mode, {QStringLiteral("削除(&E)"), QStringLiteral("抽出(&H)")});
    QLineEdit* count = form_->lineEdit(s.count);
    count->setMaximumWidth(60);
    QCheckBox* ignoreExtension =
        form_->checkBox(QStringLiteral("拡張子を無視(&J)"), s.ignoreExtension);
    QButtonGroup* where = form_->radioGroup(
        s.where,
        {QStringLiteral("先頭から削除(&L)"), QStringLiteral("末尾から削除(&M)"),
         QStringLiteral("指定の位置から削除(&P)"), QStringLiteral("指定の文字から削除(&0)")});
    fromTail_ = form_->radioGroup(s.fromTail,
                                  {QStringLiteral("先頭から(&Q)"), QStringLiteral("末尾から(&T)")});
    position_ = form_->lineEdit(s.position);
    position_->setMaximumWidth(60);
    positionCaption_ = form_->caption(QStringLiteral("文字目以降(&V):"), position_);
    givenText_ = form_->lineEdit(s.givenText);
    givenText_->setAccessibleName(QStringLiteral("指定文字"));
    after_ = form_->radioGroup(s.after, {QStringLiteral("前方(&1)"), QStringLiteral("後方(&2)")});
    QLabel* countCaption = form_->caption(QStringLiteral("削除する文字数(&I):"), count);

    form_->tip(count, QStringLiteral("削除する文字数を入力してください"));
    form_->tip(where->button(0), QStringLiteral("先頭から削除する場合に選択してください"));
    form_->tip(where->button(1), QStringLiteral("末尾から削除する場合に選択してください"));
    form_->tip(where->button(2), QStringLiteral("指定した位置から削除する場合に選択してください"));
    form_->tip(fromTail_->button(0), QStringLiteral("先頭から数える場合に選択してください"));
    form_->tip(fromTail_->button(1), QStringLiteral("末尾から数える場合に選択してください"));
    form_->tip(position_, QStringLiteral("指定する位置を入力してください"));
    form_->tip(ignoreExtension, QStringLiteral("拡張子を無視したい場合にチェックしてください"));
    form_->tip(mode->button(0), QStringLiteral("リネーム方式を削除にしたい場合に選択してください"));
    form_->tip(mode->button(1), QStringLiteral("リネーム方式を抽出にしたい場合に選択してください"));
    form_->tip(where->button(3),
               QStringLiteral("指定の文字から削除/抽出する場合に選択してください"));
    form_->tip(givenText_, QStringLiteral("基準にする文字を入力してください"));
    form_->tip(after_->button(0),
               QStringLiteral("指定の文字より前方を削除/抽出する場合に選択してください"));
    form_->tip(after_->button(1),
               QStringLiteral("指定の文字より後方を削除/抽出する場合に選択してください"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyCaptions();
    });
    connect(where, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });

    auto* modeBox = new QGroupBox(QStringLiteral("方式選択"), this);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->addWidget(mode->button(0));
    modeLayout->addWidget(mode->button(1));
    modeLayout->addStretch();

    countBox_ = new QGroupBox(QStringLiteral("削除文字設定"), this);
    auto* countLayout = new QGridLayout(countBox_);
    countLayout->addWidget(countCaption, 0, 0);
    countLayout->addWidget(count, 0, 1);
    countLayout->addWidget(form_->label(QStringLiteral("文字")), 0, 2);
    countLayout->addWidget(ignoreExtension, 1, 0, 1, 4);
    countLayout->setColumnStretch(3, 1);

    // The sub-choices sit indented under the position they belong to.
    auto* whereBox = new QGroupBox(QStringLiteral("位置設定"), this);
    auto* whereLayout = new QGridLayout(whereBox);
    whereLayout->setColumnMinimumWidth(0, 20);
    whereLayout->addWidget(where->button(0), 0, 0, 1, 5);
    whereLayout->addWidget(where->button(1), 1, 0, 1, 5);
    whereLayout->addWidget(where->button(2), 2, 0, 1, 5);
    auto* positionRow = new QHBoxLayout;
    positionRow->addWidget(fromTail_->button(0));
    positionRow->addWidget(fromTail_->button(1));
    positionRow->addWidget(position_);
    positionRow->addWidget(positionCaption_);
    positionRow->addStretch();
    whereLayout->addLayout(positionRow, 3, 1, 1, 4);
    whereLayout->addWidget(where->button(3), 4, 0, 1, 5);
    auto* textRow = new QHBoxLayout;
    givenText_->setMaximumWidth(120);
    textRow->addWidget(givenText_);
    textRow->addWidget(after_->button(0));
    textRow->addWidget(after_->button(1));
    textRow->addStretch();
    whereLayout->addLayout(textRow, 5, 1, 1, 4);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeBox);
    layout->addWidget(countBox_);
    layout->addWidget(whereBox);
    layout->addStretch();

    PageForm::tabOrder({mode->button(0), mode->button(1), count, ignoreExtension, where->button(0),
                        where->button(1), where->button(2), fromTail_->button(0),
                        fromTail_->button(1), position_, where->button(3), givenText_,
                        after_->button(0), after_->button(1)});

    modeCaptions_ = {
        {where->button(0), where->button(0)->text()}, {where->button(1), where->button(1)->text()},
        {where->button(2), where->button(2)->text()}, {where->button(3), where->button(3)->text()},
        {countCaption, countCaption->text()},         {countBox_, countBox_->title()}};
    showSettings();
}

void DeleteExtractPageWidget::showSettings() {
    form_->show();
    applyCaptions();
    applyEnabling();
}

void DeleteExtractPageWidget::takeSettings() {
    form_->take();
}

void DeleteExtractPageWidget::applyCaptions() {
    const QString word = qs(page_.modeWord());
    for (const auto& [widget, deleteCaption] : modeCaptions_) {
        QString caption = deleteCaption;
        caption.replace(QStringLiteral("削除"), word);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(caption);
            button->setAccessibleName(accessibleCaption(caption));
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(caption);
            label->buddy()->setAccessibleName(accessibleCaption(caption));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            group->setTitle(caption);
        }
    }
}

void DeleteExtractPageWidget::applyEnabling() {
    const bool atPosition = page_.settings.where == 2;
    const bool atText = page_.settings.where == 3;
    for (QAbstractButton* button : fromTail_->buttons())
        button->setEnabled(atPosition);
    position_->setEnabled(atPosition);
    positionCaption_->setEnabled(atPosition);
    givenText_->setEnabled(atText);
    for (QAbstractButton* button : after_->buttons())
        button->setEnabled(atText);
}

}  // namespace soramine::gui
