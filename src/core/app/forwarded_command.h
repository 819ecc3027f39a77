#pragma once

// The message a second start of the window program sends to the running one: its argument
// count (the program path included) and its whole command line as UTF-16 text, the program
// path in double quotes. The running program splits the text back into paths.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace soramine::app {

struct ForwardedCommand {
    std::int32_t count = 0;  // arguments, the program path included
    std::u16string commandLine;
};

// The largest message taken (a command line of 8 Mi characters); longer ones are refused.
inline constexpr std::size_t kMaxForwardedBytes = std::size_t{16} << 20;
inline constexpr std::size_t kForwardedHeaderBytes = 8;

// The command line of a program path and its arguments: each in double quotes, separated by
// one space. Nothing when an argument holds a double quote (the text has no way to carry one
// inside quotes) or when the arguments are more than a count can hold.
std::optional<ForwardedCommand> forwardedCommand(std::u16string_view program,
                                                 std::span<const std::u16string> args);

// Splits a command line into at most `count` tokens. A token that starts with a double quote
// runs to the next double quote (the quotes are not part of it); any other token runs to the
// next space; spaces between tokens are skipped. The last token takes the rest of the text
// without surrounding spaces, and without its quotes when it is quoted whole. A quote that is
// never closed takes the rest of the text. Nothing is ever cut: paths of any length are whole.
std::vector<std::u16string> splitCommandLine(std::u16string_view text, std::int64_t count);

// The paths of a forwarded command: its tokens after the program path, empty ones left out.
std::vector<std::u16string> forwardedPaths(const ForwardedCommand& command);

// The message's bytes: the count and the byte count of the text ((characters + 1) x 2) as
// 32-bit little-endian numbers, then the text in UTF-16LE with its terminating zero.
std::string encodeForwarded(const ForwardedCommand& command);
// The whole size of a message whose first kForwardedHeaderBytes are `header`; nothing when
// the header is short or announces a text larger than kMaxForwardedBytes or of an odd size.
std::optional<std::size_t> forwardedMessageSize(std::string_view header);
// A message read back; nothing unless `bytes` is exactly one well-formed message. The text
// ends at its first zero.
std::optional<ForwardedCommand> decodeForwarded(std::string_view bytes);

}  // namespace soramine::app
