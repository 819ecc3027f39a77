#include "core/engine/error_log.h"

#include <utility>

namespace soramine {

void ErrorLog::appendLog(std::u16string_view text) {
    if (!capturing_) {
        text_.append(text);
        return;
    }
    const auto dash = text.find(u" - ");
    slot_ =
        dash == std::u16string_view::npos ? std::u16string() : std::u16string(text.substr(0, dash));
}

void ErrorLog::startCapture() {
    capturing_ = true;
    slot_.clear();
}

void ErrorLog::endCapture() {
    capturing_ = false;
    slot_ = u"1";
}

std::u16string ErrorLog::takeCaptured() {
    if (!capturing_)
        return {};
    return std::exchange(slot_, std::u16string());
}

}  // namespace soramine
