#include "core/settings/history_store.h"

#include <cstdint>

#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/cp932.h"

namespace soramine {
namespace {

constexpr char16_t kKeyEnd = u'\u0007';
constexpr char16_t kValueEnd = u'\u0008';
constexpr size_t kCountSize = 4;

bool holdsSeparator(std::u16string_view s) {
    return s.find_first_of(std::u16string_view(u"\u0007\u0008")) != std::u16string_view::npos;
}

}  // namespace

std::u16string historyStorePath() {
    return platform::settingsFolder() + u"String.db";
}

HistoryMap parseHistoryStore(std::string_view bytes) {
    HistoryMap map;
    if (bytes.size() < kCountSize)
        return map;
    std::uint32_t raw = 0;
    for (size_t i = 0; i < kCountSize; ++i)
        raw |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
    const auto count = static_cast<std::int32_t>(raw);
    // Each record takes at least its two separators, so the text bounds the work, whatever
    // the count claims.
    const std::u16string content = text::fromCp932(bytes.substr(kCountSize));
    std::u16string_view rest = content;
    for (std::int32_t i = 0; i < count; ++i) {
        size_t keyEnd = rest.find(kKeyEnd);
        if (keyEnd == std::u16string_view::npos)
            break;
        size_t valueEnd = rest.find(kValueEnd, keyEnd + 1);
        if (valueEnd == std::u16string_view::npos)
            break;
        map[std::u16string(rest.substr(0, keyEnd))] =
            std::u16string(rest.substr(keyEnd + 1, valueEnd - keyEnd - 1));
        rest.remove_prefix(valueEnd + 1);
    }
    return map;
}

std::string serializeHistoryStore(const HistoryMap& map) {
    std::u16string records;
    std::uint32_t count = 0;
    for (const auto& [key, value] : map) {
        if (holdsSeparator(key) || holdsSeparator(value))
            continue;
        records += key;
        records += kKeyEnd;
        records += value;
        records += kValueEnd;
        ++count;
    }
    std::string bytes;
    for (size_t i = 0; i < kCountSize; ++i)
        bytes += static_cast<char>((count >> (8 * i)) & 0xFF);
    bytes += text::toCp932(records);
    return bytes;
}

HistoryMap loadHistoryStore(std::u16string_view path) {
    if (!platform::isTrustedFile(path))
        return {};
    auto bytes = platform::readFile(path);
    return bytes ? parseHistoryStore(*bytes) : HistoryMap();
}

void saveHistoryStore(std::u16string_view path, const HistoryMap& map) {
    const std::string bytes = serializeHistoryStore(map);
    // Most runs change no history: a store that holds these bytes already is left alone
    // rather than rewritten and flushed to the disk at every close.
    if (const auto stored = platform::readFile(path); stored && *stored == bytes)
        return;
    // As with the INI file, a failed write leaves the old store whole and only loses history.
    (void)platform::writeFileAtomic(path, bytes);
}

}  // namespace soramine
