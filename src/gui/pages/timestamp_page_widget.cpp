#include "gui/pages/timestamp_page_widget.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/pages/page_form.h"

namespace soramine::gui {

TimestampPageWidget::TimestampPageWidget(soramine::TimestampPage& page,
                                         soramine::RenameSession& session, QWidget* parent)
    : MethodPageWidget(parent), page_(page), form_(new PageForm(this, page, session)) {
    auto& s = page_.settings;
    const bool canSetCreated = soramine::TimestampPage::canSetCreated();
    // Where the creation time cannot be set, its box shows off and the stored "作成日時" stays
    // as it is.
    created_ = form_->checkBox(QStringLiteral("作成日時(&E)"),
                               canSetCreated ? s.setCreated : unsettableCreated_);
    createdDate_ = form_->momentEdit(s.createdDate, false);
    createdTime_ = form_->momentEdit(s.createdTime, true);
    modified_ = form_->checkBox(QStringLiteral("更新日時(&H)"), s.setModified);
    modifiedDate_ = form_->momentEdit(s.modifiedDate, false);
    modifiedTime_ = form_->momentEdit(s.modifiedTime, true);
    useStep_ = form_->checkBox(QStringLiteral("日時を増減する(&I)"), s.useStep);
    step_ = form_->lineEdit(s.step);

    createdDate_->setAccessibleName(QStringLiteral("作成日"));
    createdTime_->setAccessibleName(QStringLiteral("作成時刻"));
    modifiedDate_->setAccessibleName(QStringLiteral("更新日"));
    modifiedTime_->setAccessibleName(QStringLiteral("更新時刻"));
    step_->setAccessibleName(QStringLiteral("増減値"));
    step_->setMaximumWidth(90);

    for (QCheckBox* box : {created_, modified_, useStep_})
        connect(box, &QCheckBox::toggled, this, &TimestampPageWidget::applyEnabling);

    auto* grid = new QGridLayout;
    grid->addWidget(created_, 0, 0);
    grid->addWidget(createdDate_, 0, 1);
    grid->addWidget(createdTime_, 0, 2);
    if (!canSetCreated) {
        QLabel* note = form_->hint(QStringLiteral("※作成日時はこのシステムでは変更できません"));
        created_->setToolTip(note->text());
        grid->addWidget(note, 1, 1, 1, 2);
    }
    grid->addWidget(modified_, 2, 0);
    grid->addWidget(modifiedDate_, 2, 1);
    grid->addWidget(modifiedTime_, 2, 2);
    grid->setColumnStretch(3, 1);

    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(useStep_);
    stepRow->addWidget(step_);
    stepRow->addWidget(form_->label(QStringLiteral("秒")));
    stepRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(stepRow);
    layout->addStretch();

    showSettings();
}

void TimestampPageWidget::showSettings() {
    form_->show();
    applyEnabling();
}

void TimestampPageWidget::takeSettings() {
    form_->take();
}

void TimestampPageWidget::applyEnabling() {
    const bool canSetCreated = soramine::TimestampPage::canSetCreated();
    created_->setEnabled(canSetCreated);
    createdDate_->setEnabled(canSetCreated && created_->isChecked());
    createdTime_->setEnabled(canSetCreated && created_->isChecked());
    modifiedDate_->setEnabled(modified_->isChecked());
    modifiedTime_->setEnabled(modified_->isChecked());
    step_->setEnabled(useStep_->isChecked());
}

}  // namespace soramine::gui
