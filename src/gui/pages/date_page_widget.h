#pragma once

#include "core/engine/session.h"
#include "core/methods/date_in_name.h"
#include "gui/pages/method_page_widget.h"

class QLabel;

namespace soramine::gui {

class ElidedLabel;
class HistoryComboBox;
class PageForm;

// "日時": names from a time of each file through a format, with a sample line.
class DatePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    DatePageWidget(soramine::DatePage& page, soramine::RenameSession& session, QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

    ElidedLabel* sampleLine() const { return sample_; }

  private:
    // The sample of the format as it stands; `picked` when it came from the list.
    void updateSample(bool picked);

    soramine::DatePage& page_;
    PageForm* form_;
    HistoryComboBox* format_ = nullptr;
    ElidedLabel* sample_ = nullptr;
};

}  // namespace soramine::gui
