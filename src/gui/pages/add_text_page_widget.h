#pragma once

#include "core/engine/session.h"
#include "core/methods/add_text.h"
#include "gui/pages/method_page_widget.h"

class QButtonGroup;
class QLineEdit;

namespace soramine::gui {

class PageForm;

// "追加": insert a text at the head, at the end or at a counted position. The main window
// may show two of these on one core page (the method's own tab, and the second tab of the
// methods in their "add" mode); each hands its values to the core when it is hidden and
// takes them up again when it is shown, so the two never disagree.
class AddTextPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    AddTextPageWidget(soramine::AddTextPage& page, soramine::RenameSession& session,
                      QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // The choices under "末尾に追加" and "指定の位置" serve only their own position.
    void applyEnabling();

    soramine::AddTextPage& page_;
    PageForm* form_;
    QButtonGroup* extension_ = nullptr;
    QButtonGroup* counting_ = nullptr;
    QLineEdit* offset_ = nullptr;
};

}  // namespace soramine::gui
