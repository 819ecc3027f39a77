#pragma once

#include "core/engine/session.h"
#include "core/methods/extension.h"
#include "gui/pages/method_page_widget.h"

namespace soramine::gui {

class HistoryComboBox;
class PageForm;

// "拡張子": a new extension, or the extension's letters in lower or upper case.
class ExtensionPageWidget : public MethodPageWidget {
    Q_OBJECT
  public:
    ExtensionPageWidget(soramine::ExtensionPage& page, soramine::RenameSession& session,
                        QWidget* parent);

    void showSettings() override;
    void takeSettings() override;

  private:
    // The new extension serves mode 0 only.
    void applyEnabling();

    soramine::ExtensionPage& page_;
    PageForm* form_;
    HistoryComboBox* newExtension_ = nullptr;
};

}  // namespace soramine::gui
