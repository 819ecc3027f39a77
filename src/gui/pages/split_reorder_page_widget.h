#pragma once

#include "core/engine/session.h"
#include "core/methods/split_reorder.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

class PageForm;

// "並べ替え": cut the name into blocks of given lengths and put them together in a new order.
class SplitReorderPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    SplitReorderPageWidget(soramine::SplitReorderPage& page, soramine::RenameSession& session,
                           QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    PageForm* form_;
};

}  // namespace soramine::gui
