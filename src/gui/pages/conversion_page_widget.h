#pragma once

#include <QString>
#include <vector>

#include "core/engine/session.h"
#include "core/methods/conversion.h"
#include "gui/pages/method_page_widget.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;

namespace soramine::gui {

class PageForm;

// "その他": letter case, kana, width, reversal, or filling each name up to the longest.
class ConversionPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    ConversionPageWidget(soramine::ConversionPage& page, soramine::RenameSession& session,
                         QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // Each mode's own options are enabled only while it is chosen.
    void applyEnabling();
    // Refuses a fill text of more than one character or a full-width one.
    void checkFill(const QString& typed);

    soramine::ConversionPage& page_;
    PageForm* form_;
    QCheckBox* lettersOnly_ = nullptr;
    std::vector<QCheckBox*> widthClasses_;
    QButtonGroup* padSide_ = nullptr;
    QLineEdit* fill_ = nullptr;
    QLabel* fillCaption_ = nullptr;
    QString shownFill_;  // the fill text before the latest edit
};

}  // namespace soramine::gui
