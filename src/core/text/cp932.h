#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace soramine::text {

// The Japanese ANSI code page (932), used where the product reads or writes ANSI text
// (history store, text files of names, the clipboard's ANSI text).
//
// Decoding never fails: a byte sequence that 932 does not define becomes `unknown` (by
// default U+30FB "・", the code page's default for unknown input) and decoding goes on with
// the next byte.
// Encoding turns every character that 932 cannot hold into "?", the code page's
// replacement character, so nothing is dropped silently.
inline constexpr char16_t kCp932Unknown = 0x30FB;
std::u16string fromCp932(std::string_view bytes, char16_t unknown = kCp932Unknown);
std::string toCp932(std::u16string_view text);

// Cuts code page 932 text that arrives in pieces (a file read in blocks) into its lines, as a
// text-mode read gives them: a line ends at LF and loses a CR directly before it, a last
// line without LF counts too, and nothing follows a final LF. LF and CR never occur inside a
// double-byte character, so lines are cut before they are decoded.
//
// A line keeps at most `maxLineBytes` bytes (the rest is skipped up to its LF), so memory
// stays bounded whatever the file holds; a caller that needs lines of at most L characters
// passes 2 L + 2, then any cut line still decodes to more than L characters.
class Cp932LineReader {
  public:
    // Gets each line in order; returns false to stop reading.
    using Sink = std::function<bool(std::u16string_view line)>;

    Cp932LineReader(std::size_t maxLineBytes, Sink sink)
        : maxLineBytes_(maxLineBytes), sink_(std::move(sink)) {}

    // Adds the next piece of the text; false once the sink has asked to stop.
    bool add(std::string_view piece);
    // Hands out the last line (also one without LF); false when the sink stopped.
    bool finish();

  private:
    bool lineEnded();
    bool decodeBatch();

    std::size_t maxLineBytes_;
    Sink sink_;
    std::string line_;   // bytes of the line under way, at most maxLineBytes_
    std::string batch_;  // whole lines not yet decoded, each followed by LF
    bool stopped_ = false;
};

// Whether code page 932 writes `c` as two bytes (full-width characters; not the half-width
// katakana, and not a character it cannot hold, which becomes the one byte "?").
bool isDoubleByteCp932(char16_t c);

}  // namespace soramine::text
