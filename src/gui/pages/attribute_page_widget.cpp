#include "gui/pages/attribute_page_widget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

#include "gui/pages/page_form.h"

namespace soramine::gui {

AttributePageWidget::AttributePageWidget(soramine::AttributePage& page,
                                         soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), form_(new PageForm(this, page, session)) {
    auto& s = page.settings;
    auto* grid = new QGridLayout(this);
    grid->addWidget(form_->checkBox(QStringLiteral("読み取り専用(&E)"), s.readOnly), 0, 0);
    grid->addWidget(form_->checkBox(QStringLiteral("隠しファイル(&H)"), s.hidden), 1, 0);
    grid->addWidget(form_->checkBox(QStringLiteral("圧縮(&I)"), s.compressed), 2, 0);
    grid->addWidget(form_->hint(QStringLiteral("※注: NTFS上のファイルのみ")), 2, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(3, 1);
    showSettings();
}

void AttributePageWidget::showSettings() {
    form_->show();
}

void AttributePageWidget::takeSettings() {
    form_->take();
}

}  // namespace soramine::gui
