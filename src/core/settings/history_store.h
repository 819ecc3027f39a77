#pragma once

#include <string>
#include <string_view>

#include "core/settings/history_box.h"

namespace soramine {

// The input history store "String.db": an int32 little-endian record count, then the
// records in code page 932, each the key, U+0007, the value and U+0008.

// settingsFolder() + "String.db".
std::u16string historyStorePath();

// The records of a store's bytes. Parsing stops at the stored count or at the first record
// whose separator is missing; bytes too short for a count give an empty map.
HistoryMap parseHistoryStore(std::string_view bytes);
// The store's bytes for a map. A key or value holding U+0007 or U+0008 would tear its
// record apart, so such an entry is left out. Characters code page 932 cannot hold become
// its replacement character.
std::string serializeHistoryStore(const HistoryMap& map);

// A missing or unreadable file gives an empty map, and so does a file that another user
// could have planted or changed (see platform::isTrustedFile).
HistoryMap loadHistoryStore(std::u16string_view path);
// Replaces the file atomically; a failed write is ignored.
void saveHistoryStore(std::u16string_view path, const HistoryMap& map);

}  // namespace soramine
