#pragma once

#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

// The page of a method this build does not offer yet: it says so and holds no settings.
class UnavailablePageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    explicit UnavailablePageWidget(QWidget* parent);

    void showSettings() override {}
    void takeSettings() override {}
};

}  // namespace soramine::gui
