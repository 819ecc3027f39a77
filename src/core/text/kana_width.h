#pragma once

#include <string>
#include <string_view>

namespace soramine::text {

// Hiragana and katakana of the conversion page, 66 each, matched position by position.
// Characters outside the lists (small kana, the ぱ row, ゐ, ゑ, ゔ, ...) are not converted.
std::u16string hiraganaToKatakana(std::u16string_view s);
std::u16string katakanaToHiragana(std::u16string_view s);

// The character classes that a width conversion touches.
struct WidthClasses {
    bool alphabet = true;   // a-z, A-Z (52)
    bool digits = true;     // 0-9 (10)
    bool katakana = false;  // katakana and Japanese punctuation (61), and the 26 voiced kana
    bool symbols = false;   // 23 symbols, the space among them
};

// Full width to half width; a voiced katakana becomes its base and the voicing mark.
std::u16string toHalfWidth(std::u16string_view s, WidthClasses classes);
// Half width to full width; a half-width base followed by its voicing mark becomes one voiced
// katakana (the pair is joined before the base alone is converted).
std::u16string toFullWidth(std::u16string_view s, WidthClasses classes);

}  // namespace soramine::text
