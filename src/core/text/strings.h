#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace soramine::text {

// Letter case in names covers a-z and A-Z only; everything else compares exactly.
char16_t upperAscii(char16_t c);
std::u16string upperAscii(std::u16string_view s);
void upperAsciiInPlace(std::u16string& s);
void lowerAsciiInPlace(std::u16string& s);
bool equalsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b);

// ASCII text to UTF-16 (for numbers and fixed ASCII pieces).
std::u16string fromAscii(std::string_view s);

// Decimal text of a number ("%d", "%lld").
std::u16string decimal(long long value);

// The value of the leading decimal part of a text, as C's atoi reads it: optional white
// space, an optional sign, then digits; anything else ends it. No digits give 0. The value
// saturates at the 32-bit limits.
std::int32_t leadingInt(std::u16string_view s);

// True when every character of `s` is one of `allowed` (an empty text passes).
bool consistsOf(std::u16string_view s, std::u16string_view allowed);

// Replaces every occurrence of `from` (not empty) by `to`, left to right, without overlap.
void replaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to);
void replaceAll(std::u16string& s, char16_t from, std::u16string_view to);

// The name a "\" in a page's text stands for: the last component of the item's folder
// (trailing separators removed) with every ":" taken out. "D:\trip\" gives "trip", a drive
// root "C:\" gives "C", "/home/a/" gives "a". Both "/" and "\" separate components.
std::u16string folderNameOf(std::u16string_view folder);

// The extension of a name: from its last "." on, dot included; empty without a ".".
std::u16string_view extensionOf(std::u16string_view name);
// The extension of a name that has a stem: as extensionOf, but empty when the only "." is the
// first character (".profile" is all stem).
std::u16string_view extensionAfterStem(std::u16string_view name);

}  // namespace soramine::text
