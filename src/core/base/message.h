#pragma once

#include <string>

namespace soramine {

enum class Icon { Error, Information, Question, Warning };

// A message for the user. The core never opens a window: it returns one of these and the
// front end decides how to show it (a message box, a line on stderr).
struct Message {
    std::u16string text;
    std::u16string caption;
    Icon icon = Icon::Error;

    friend bool operator==(const Message&, const Message&) = default;
};

inline Message errorMessage(std::u16string text) {
    return Message{std::move(text), u"エラー", Icon::Error};
}

}  // namespace soramine
