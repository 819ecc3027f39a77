#include "core/app/forwarded_command.h"

#include <limits>

namespace soramine::app {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kSpace = u' ';

std::u16string_view trimSpaces(std::u16string_view s) {
    while (!s.empty() && s.front() == kSpace)
        s.remove_prefix(1);
    while (!s.empty() && s.back() == kSpace)
        s.remove_suffix(1);
    return s;
}

void putLe32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t le32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return v;
}

}  // namespace

std::optional<ForwardedCommand> forwardedCommand(std::u16string_view program,
                                                 std::span<const std::u16string> args) {
    if (args.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    ForwardedCommand command{static_cast<std::int32_t>(args.size() + 1), {}};
    command.commandLine = u"\"" + std::u16string(program) + u"\"";
    for (const std::u16string& arg : args) {
        if (arg.find(kQuote) != std::u16string::npos)
            return std::nullopt;
        command.commandLine += u" \"" + arg + u"\"";
    }
    return command;
}

std::vector<std::u16string> splitCommandLine(std::u16string_view text, std::int64_t count) {
    std::vector<std::u16string> tokens;
    while (static_cast<std::int64_t>(tokens.size()) < count) {
        text = trimSpaces(text);
        if (static_cast<std::int64_t>(tokens.size()) == count - 1) {
            if (text.size() >= 2 && text.front() == kQuote && text.back() == kQuote)
                text = text.substr(1, text.size() - 2);
            else if (!text.empty() && text.front() == kQuote &&
                     text.find(kQuote, 1) == std::u16string_view::npos)
                text.remove_prefix(1);
            tokens.emplace_back(text);
            break;
        }
        if (text.empty())
            break;
        std::size_t end;
        if (text.front() == kQuote) {
            text.remove_prefix(1);
            end = text.find(kQuote);
        } else {
            end = text.find(kSpace);
        }
        if (end == std::u16string_view::npos) {
            tokens.emplace_back(text);
            break;
        }
        tokens.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    return tokens;
}

std::vector<std::u16string> forwardedPaths(const ForwardedCommand& command) {
    std::vector<std::u16string> tokens = splitCommandLine(command.commandLine, command.count);
    std::vector<std::u16string> paths;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (!tokens[i].empty())
            paths.push_back(std::move(tokens[i]));
    }
    return paths;
}

std::string encodeForwarded(const ForwardedCommand& command) {
    const std::size_t textBytes = (command.commandLine.size() + 1) * 2;
    std::string out;
    out.reserve(kForwardedHeaderBytes + textBytes);
    putLe32(out, static_cast<std::uint32_t>(command.count));
    putLe32(out, static_cast<std::uint32_t>(textBytes));
    for (char16_t c : command.commandLine) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    out.append(2, '\0');
    return out;
}

std::optional<std::size_t> forwardedMessageSize(std::string_view header) {
    if (header.size() < kForwardedHeaderBytes)
        return std::nullopt;
    const std::uint32_t textBytes = le32(header, 4);
    if (textBytes < 2 || textBytes % 2 != 0 || textBytes > kMaxForwardedBytes)
        return std::nullopt;
    return kForwardedHeaderBytes + textBytes;
}

std::optional<ForwardedCommand> decodeForwarded(std::string_view bytes) {
    const auto size = forwardedMessageSize(bytes);
    if (!size || *size != bytes.size())
        return std::nullopt;
    ForwardedCommand command{static_cast<std::int32_t>(le32(bytes, 0)), {}};
    for (std::size_t at = kForwardedHeaderBytes; at < bytes.size(); at += 2) {
        const auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                             static_cast<unsigned char>(bytes[at + 1]) << 8);
        if (c == 0)
            break;
        command.commandLine += c;
    }
    return command;
}

}  // namespace soramine::app
