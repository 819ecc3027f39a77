#include "gui/pages/add_text_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

AddTextPageWidget::AddTextPageWidget(soramine::AddTextPage& page, soramine::RenameSession& session,
                                     QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    HistoryComboBox* addText = form_->historyBox(page_.addText);
    form_->useListFont(addText);
    QButtonGroup* where = form_->radioGroup(
        page_.settings.where, {QStringLiteral("先頭に追加(&H)"), QStringLiteral("末尾に追加(&I)"),
                               QStringLiteral("指定の位置(&M)")});
    extension_ = form_->radioGroup(page_.settings.afterExtension, {QStringLiteral("拡張子の前(&J)"),
                                                                   QStringLiteral("最後尾(&L)")});
    counting_ = form_->radioGroup(page_.settings.fromTail,
                                  {QStringLiteral("先頭から(&P)"), QStringLiteral("末尾から(&Q)")});
    offset_ = form_->lineEdit(page_.settings.offset);
    offset_->setMaximumWidth(60);

    form_->tip(addText, QStringLiteral("追加する文字です"));
    form_->tip(where->button(0), QStringLiteral("先頭に追加します"));
    form_->tip(where->button(1), QStringLiteral("末尾に追加します"));
    form_->tip(extension_->button(0), QStringLiteral("拡張子の前に追加します"));
    form_->tip(extension_->button(1), QStringLiteral("拡張子の後に追加します"));
    form_->tip(where->button(2), QStringLiteral("指定の位置に追加します"));
    form_->tip(counting_->button(0), QStringLiteral("追加位置を先頭から数えます"));
    form_->tip(counting_->button(1), QStringLiteral("追加位置を末尾から数えます"));
    form_->tip(offset_, QStringLiteral("追加する位置です"));

    connect(where, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });

    auto* textRow = new QGridLayout;
    textRow->addWidget(form_->caption(QStringLiteral("追加文字(&E):"), addText), 0, 0);
    textRow->addWidget(addText, 0, 1);
    textRow->addWidget(form_->hint(QStringLiteral("※ \\ → フォルダ名")), 1, 1);
    textRow->setColumnStretch(1, 1);

    // The sub-choices sit indented under the position they belong to.
    auto* whereBox = new QGroupBox(QStringLiteral("追加位置"), this);
    auto* whereLayout = new QGridLayout(whereBox);
    whereLayout->setColumnMinimumWidth(0, 20);
    whereLayout->addWidget(where->button(0), 0, 0, 1, 4);
    whereLayout->addWidget(where->button(1), 1, 0, 1, 4);
    whereLayout->addWidget(extension_->button(0), 2, 1);
    whereLayout->addWidget(extension_->button(1), 2, 2);
    whereLayout->addWidget(where->button(2), 3, 0, 1, 4);
    whereLayout->addWidget(counting_->button(0), 4, 1);
    whereLayout->addWidget(counting_->button(1), 4, 2);
    whereLayout->addWidget(offset_, 5, 1);
    whereLayout->addWidget(form_->caption(QStringLiteral("文字目の次に追加(&T)"), offset_), 5, 2, 1,
                           2);
    whereLayout->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(textRow);
    layout->addWidget(whereBox);
    layout->addStretch();

    showSettings();
}

void AddTextPageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void AddTextPageWidget::takeSettings() {
    form_->take();
}

void AddTextPageWidget::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        showSettings();
    MethodPageWidget::showEvent(event);
}

void AddTextPageWidget::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        takeSettings();
    MethodPageWidget::hideEvent(event);
}

void AddTextPageWidget::applyEnabling() {
    for (QAbstractButton* button : extension_->buttons())
        button->setEnabled(page_.settings.where == 1);
    for (QAbstractButton* button : counting_->buttons())
        button->setEnabled(page_.settings.where == 2);
    offset_->setEnabled(page_.settings.where == 2);
}

}  // namespace soramine::gui
