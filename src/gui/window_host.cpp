#include "gui/window_host.h"

#include <QClipboard>
#include <QGuiApplication>

#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::gui {

std::optional<std::u16string> WindowHost::clipboardText() {
    return u16(QGuiApplication::clipboard()->text());
}

std::optional<std::u16string> WindowHost::chooseFolder(std::u16string_view title,
                                                       std::u16string_view start) {
    const auto folder = prompts_.chooseFolder(window_, qs(title), localPath(start));
    if (!folder)
        return std::nullopt;
    return corePath(*folder);
}

bool WindowHost::askYesNo(const Message& question) {
    return prompts_.askYesNo(window_, question);
}

void WindowHost::showMessage(const Message& message) {
    prompts_.showMessage(window_, message);
}

}  // namespace soramine::gui
