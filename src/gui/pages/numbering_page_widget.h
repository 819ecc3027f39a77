#pragma once

#include <string>

#include "core/engine/session.h"
#include "core/methods/numbering.h"
#include "gui/pages/method_page_widget.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace soramine::gui {

class ElidedLabel;
class HistoryComboBox;
class PageForm;

// "連番": numbers in a name pattern, with a sample line of the first item's name.
class NumberingPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    NumberingPageWidget(soramine::NumberingPage& page, soramine::RenameSession& session,
                        QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

    ElidedLabel* sampleLine() const { return sample_; }

  private:
    // Shows the sample of the current settings; the digit count grows to fit the start
    // number, and a start number too long for nine digits is refused.
    void updateSample();

    soramine::NumberingPage& page_;
    PageForm* form_;
    QComboBox* digits_ = nullptr;
    QLineEdit* start_ = nullptr;
    ElidedLabel* sample_ = nullptr;
    std::u16string shownStart_;  // the start number before the latest edit
};

}  // namespace soramine::gui
