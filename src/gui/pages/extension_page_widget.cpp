#include "gui/pages/extension_page_widget.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>

#include "gui/pages/page_form.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

ExtensionPageWidget::ExtensionPageWidget(soramine::ExtensionPage& page,
                                         soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    QButtonGroup* mode =
        form_->radioGroup(page_.settings.mode, {QStringLiteral("拡張子を変更する(&E)"),
                                                QStringLiteral("大文字を小文字へ(&I)"),
                                                QStringLiteral("小文字を大文字へ(&J)")});
    newExtension_ = form_->historyBox(page_.newExtension);
    form_->useListFont(newExtension_);

    form_->tip(newExtension_, QStringLiteral("変更後の拡張子です"));
    form_->tip(mode->button(0), QStringLiteral("拡張子を変更します"));
    form_->tip(mode->button(1), QStringLiteral("拡張子の大文字を小文字にします"));
    form_->tip(mode->button(2), QStringLiteral("拡張子の小文字を大文字にします"));

    connect(mode, &QButtonGroup::idClicked, this, [this] {
        takeSettings();
        applyEnabling();
    });

    // The new extension sits indented under the mode it belongs to.
    auto* grid = new QGridLayout(this);
    grid->setColumnMinimumWidth(0, 20);
    grid->addWidget(mode->button(0), 0, 0, 1, 3);
    grid->addWidget(form_->caption(QStringLiteral("変更後の拡張子(&H):"), newExtension_), 1, 1);
    grid->addWidget(newExtension_, 1, 2);
    grid->addWidget(mode->button(1), 2, 0, 1, 3);
    grid->addWidget(mode->button(2), 3, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(4, 1);

    PageForm::tabOrder({mode->button(0), newExtension_, mode->button(1), mode->button(2)});
    showSettings();
}

void ExtensionPageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void ExtensionPageWidget::takeSettings() {
    form_->take();
}

void ExtensionPageWidget::applyEnabling() {
    newExtension_->setEnabled(page_.settings.mode == 0);
}

}  // namespace soramine::gui
