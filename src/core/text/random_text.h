#pragma once

#include <random>
#include <string>
#include <string_view>

namespace soramine::text {

// The generator of random names, seeded once per run (or per one-shot rename).
using RandomSource = std::minstd_rand;

// The character classes random names are drawn from.
inline constexpr std::u16string_view kRandomDigits = u"0123456789";
inline constexpr std::u16string_view kRandomLowerCase = u"abcdefghijklmnopqrstuvwxyz";
inline constexpr std::u16string_view kRandomUpperCase = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The chosen classes one after another, always in the order digits, lower case, upper case
// (so that one seed gives one name whichever front end draws it).
std::u16string randomPool(bool digits, bool lowerCase, bool upperCase);

// `length` characters, each the pool's character at index random() mod the pool's size; an
// empty pool gives an empty text.
std::u16string randomCharacters(std::u16string_view pool, int length, RandomSource& random);

}  // namespace soramine::text
