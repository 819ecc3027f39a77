#pragma once

#include "core/engine/session.h"
#include "core/methods/replace.h"
#include "gui/pages/method_page_widget.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace soramine::gui {

class HistoryComboBox;
class PageForm;

// "置換": replace a text (with one "*" wildcard, or a regular expression) or overwrite from a
// position.
class ReplacePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    ReplacePageWidget(soramine::ReplacePage& page, soramine::RenameSession& session,
                      QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // The search text and the case box serve the text mode, the position the position mode.
    void applyEnabling();

    soramine::ReplacePage& page_;
    PageForm* form_;
    HistoryComboBox* search_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QLabel* searchHint_ = nullptr;
    QLineEdit* position_ = nullptr;
};

}  // namespace soramine::gui
