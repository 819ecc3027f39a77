#include "core/text/forbidden_chars.h"

#include <algorithm>

namespace soramine::text {

namespace {

// Every forbidden character and, at the same index, its full-width counterpart.
constexpr std::u16string_view kAll = u"/?*\"<>|\\:\t";
constexpr std::u16string_view kCounterparts = u"／？＊”＜＞｜￥： ";
static_assert(kAll.size() == kCounterparts.size());

std::u16string_view charactersOf(ForbiddenSet set) {
    switch (set) {
        case ForbiddenSet::All:
            return kAll;
        case ForbiddenSet::NoAsteriskNoBackslash:
            return u"/?\"<>|:\t";
        case ForbiddenSet::NoBackslash:
            return u"/?*\"<>|:\t";
        case ForbiddenSet::NoAsterisk:
            return u"/?\"<>|\\:\t";
        case ForbiddenSet::NoAngleBrackets:
            return u"/?*\"|\\:\t";
    }
    return kAll;
}

}  // namespace

Message forbiddenMessage(ForbiddenSet set) {
    // The message lists the set's characters (TAB excepted) between two quotation marks.
    std::u16string list;
    for (char16_t c : charactersOf(set)) {
        if (c != u'\t')
            list += std::u16string(1, c) + u" ";
    }
    return errorMessage(u"ファイル名に \"" + list + u"\" は使えません");
}

ForbiddenRepair checkForbiddenChars(std::u16string_view text, ForbiddenSet set, bool fullWidth) {
    const std::u16string_view forbidden = charactersOf(set);
    ForbiddenRepair out;
    if (text.find_first_of(forbidden) == std::u16string_view::npos) {
        out.text = text;
        return out;
    }
    for (char16_t c : text) {
        if (forbidden.find(c) == std::u16string_view::npos)
            out.text += c;
        else if (fullWidth)
            out.text += kCounterparts[kAll.find(c)];
        else
            ++out.deleted;
    }
    if (!fullWidth)
        out.message = forbiddenMessage(set);
    return out;
}

TypingRepair repairWhileTyping(std::u16string_view text, ForbiddenSet set, bool fullWidth,
                               int selectionEnd) {
    ForbiddenRepair repair = checkForbiddenChars(text, set, fullWidth);
    const int caret =
        std::clamp(selectionEnd - repair.deleted, 0, static_cast<int>(repair.text.size()));
    return {std::move(repair.text), std::move(repair.message), caret};
}

}  // namespace soramine::text
