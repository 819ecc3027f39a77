#pragma once

#include "core/engine/session.h"
#include "core/methods/timestamps.h"
#include "gui/pages/method_page_widget.h"

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;

namespace soramine::gui {

class PageForm;

// "タイムスタンプ": the times the items get, and a step per item.
class TimestampPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    TimestampPageWidget(soramine::TimestampPage& page, soramine::RenameSession& session,
                        QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // The pickers of a time only while its box is on, the step box only while the step is;
    // the creation time's controls never where it cannot be set.
    void applyEnabling();

    soramine::TimestampPage& page_;
    PageForm* form_;
    QCheckBox* created_ = nullptr;
    QCheckBox* modified_ = nullptr;
    QCheckBox* useStep_ = nullptr;
    QDateTimeEdit* createdDate_ = nullptr;
    QDateTimeEdit* createdTime_ = nullptr;
    QDateTimeEdit* modifiedDate_ = nullptr;
    QDateTimeEdit* modifiedTime_ = nullptr;
    QLineEdit* step_ = nullptr;
    std::int32_t unsettableCreated_ = 0;  // what the creation box shows where it cannot be set
};

}  // namespace soramine::gui
