#include "core/methods/mp3_tags.h"

#include <algorithm>
#include <array>

namespace soramine {

Expected<TagFormat, Message> parseTagFormat(std::u16string_view format) {
    static constexpr std::array<std::u16string_view, 4> kTags = {u"$L", u"$A", u"$T", u"$N"};
    TagFormat f;
    std::size_t p = format.find(u'$');
    if (p == std::u16string_view::npos)
        return Unexpected{errorMessage(u"設定の形式が不正です(項目無し)")};
    int matched = 0;
    int slot = 0;
    int sep = 0;
    std::size_t prevEnd = 0;
    do {
        const auto tag = std::find(kTags.begin(), kTags.end(), format.substr(p, 2));
        if (tag != kTags.end()) {
            ++matched;
            f.tagSeparators[sep] = std::u16string(format.substr(prevEnd, p - prevEnd));
            if (matched != 1 && f.tagSeparators[sep].empty())
                return Unexpected{errorMessage(u"設定の形式が不正です(区切り無し)")};
            ++sep;
            if (slot == 0 && p != 0)
                slot = 1;
            f.tagOrder[slot++] = static_cast<int>(tag - kTags.begin());
            prevEnd = p + 2;
        }
        p = format.find(u'$', p + 1);
    } while (slot < 5 && p != std::u16string_view::npos);
    for (int i = 0; i < 5; ++i) {
        for (int j = i + 1; j < 5; ++j) {
            if (f.tagOrder[i] != -1 && f.tagOrder[i] == f.tagOrder[j])
                return Unexpected{errorMessage(u"設定の形式が不正です(同じ項目)\r\n")};
        }
    }
    return f;
}

}  // namespace soramine
