#pragma once

#include <string>
#include <string_view>

namespace soramine::text {

// UTF-8 <-> UTF-16 at the edges of the core (POSIX paths, the terminal, INI files).
//
// Decoding is lossless: a byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80 + byte, and encoding turns such a surrogate back into that byte. A file name that
// is not valid UTF-8 therefore survives the round trip through the item table unchanged.
// Any other lone surrogate encodes as U+FFFD.
std::u16string fromUtf8(std::string_view bytes);
std::string toUtf8(std::u16string_view text);
// The same, written at `out`, which has room for kMaxUtf8PerUnit bytes per UTF-16 unit;
// returns the end of what was written.
inline constexpr size_t kMaxUtf8PerUnit = 3;
char* writeUtf8(std::u16string_view text, char* out);

// True when the bytes are well-formed UTF-8 (no escaping would be needed).
bool isValidUtf8(std::string_view bytes);

}  // namespace soramine::text
