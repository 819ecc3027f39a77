#pragma once

#include "core/engine/session.h"
#include "core/methods/attributes.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

class PageForm;

// "属性": read-only, hidden and compression, each set on or off.
class AttributePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    AttributePageWidget(soramine::AttributePage& page, soramine::RenameSession& session,
                        QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    PageForm* form_;
};

}  // namespace soramine::gui
