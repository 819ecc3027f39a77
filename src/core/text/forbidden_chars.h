#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/message.h"

namespace soramine::text {

// The characters a file name cannot hold, in the sets the input boxes use. Each set leaves
// out the characters that have a meaning of their own in its box ("*" a wildcard or the
// number, "\" the folder's name, "<" ">" the split syntax).
enum class ForbiddenSet {
    All,                    // / ? * " < > | \ : TAB
    NoAsteriskNoBackslash,  // / ? " < > | : TAB       (numbering pattern, MP3 names)
    NoBackslash,            // / ? * " < > | : TAB     (replacement, added text, date, MP3)
    NoAsterisk,             // / ? " < > | \ : TAB     (text to be replaced)
    NoAngleBrackets,        // / ? * " | \ : TAB       (split and reorder)
};

// The message that lists the set's characters, caption "エラー".
Message forbiddenMessage(ForbiddenSet set);

struct ForbiddenRepair {
    std::u16string text;
    // Set when something was deleted (not in full-width mode): the caller shows or logs it.
    std::optional<Message> message;
    int deleted = 0;  // characters taken out
};

// Repairs `text`: with `fullWidth` ("禁則文字" on) every forbidden character becomes its
// full-width counterpart (TAB a plain space, '"' U+201D, '\' U+FFE5) and there is no
// message; otherwise the characters are deleted and the set's message is returned.
ForbiddenRepair checkForbiddenChars(std::u16string_view text, ForbiddenSet set, bool fullWidth);

struct TypingRepair {
    std::u16string text;
    std::optional<Message> message;
    int caret = 0;  // where the caret goes in the repaired text
};

// The repair of an edit box while the user types: `selectionEnd` is the end of the selection
// (or the caret) in the box before the repair. After deleting, the caret goes back to that
// place minus the number of characters deleted; full-width repair keeps it where it was.
TypingRepair repairWhileTyping(std::u16string_view text, ForbiddenSet set, bool fullWidth,
                               int selectionEnd);

}  // namespace soramine::text
