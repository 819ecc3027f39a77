#pragma once

#include "core/engine/run.h"

class QWidget;

namespace soramine::gui {

class Prompts;

// The core's questions during a run, answered by the main window: its clipboard, its folder
// picker and its message boxes.
class WindowHost final : public Host {
  public:
    WindowHost(QWidget* window, Prompts& prompts) : window_(window), prompts_(prompts) {}

    std::optional<std::u16string> clipboardText() override;
    std::optional<std::u16string> chooseFolder(std::u16string_view title,
                                               std::u16string_view start) override;
    bool askYesNo(const Message& question) override;
    void showMessage(const Message& message) override;

  private:
    QWidget* window_;
    Prompts& prompts_;
};

}  // namespace soramine::gui
