#pragma once

#include <string>
#include <string_view>

namespace soramine::text {

// The Japanese ANSI code page (932), used where the product reads or writes ANSI text
// (history store, text files of names, the clipboard's ANSI text).
//
// Decoding never fails: a byte sequence that 932 does not define becomes U+30FB ("・",
// the code page's default for unknown input) and decoding goes on with the next byte.
// Encoding turns every character that 932 cannot hold into "?", the code page's
// replacement character, so nothing is dropped silently.
std::u16string fromCp932(std::string_view bytes);
std::string toCp932(std::u16string_view text);

}  // namespace soramine::text
