#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/main_settings.h"
#include "core/base/expected.h"
#include "core/base/message.h"

namespace soramine {

class RecordBlock;

// The saved-settings file (".qrn"): an 18-byte header ("qrn\0", 1, the record count, ten
// option bytes), the records of the folder and extension texts, the block of the selected
// method's page, then the texts.
inline constexpr std::size_t kSettingsHeaderSize = 18;
inline constexpr std::size_t kSettingsPageBlockStart = 50;

// The ten option bytes of the header, in their order in the file.
inline constexpr std::int32_t MainSettings::*kSavedOptionFields[] = {
    &MainSettings::folderMode,  &MainSettings::importMode,     &MainSettings::subfolders,
    &MainSettings::methodIndex, &MainSettings::selectedOnly,   &MainSettings::backup,
    &MainSettings::autoAvoid,   &MainSettings::folderCreation, &MainSettings::moveAfter,
    &MainSettings::copyAfter,
};

// The file's bytes for the options (`methodIndex` selects the page that `page` is), the two
// texts of the main window and the page's block.
std::string buildSettingsFile(const MainSettings& options, std::u16string_view folderText,
                              std::u16string_view extensionText, const RecordBlock& page);
// Writes those bytes through a temporary file renamed into place; the message when the file
// cannot be written.
std::optional<Message> saveSettingsFile(std::u16string_view path, const MainSettings& options,
                                        std::u16string_view folderText,
                                        std::u16string_view extensionText, const RecordBlock& page);

// A parsed file whose page block is not applied yet, so that the caller can ask about the
// folder mode before anything changes.
struct SavedSettings {
    MainSettings options{};  // only the ten fields of kSavedOptionFields are set
    std::u16string folderText;
    std::u16string extensionText;
    std::string bytes;  // the whole file, for the page block at kSettingsPageBlockStart
};

// Checks the header, the method index (below `methodCount`) and the two text records; every
// failure is "ソラミネファイルではありません".
Expected<SavedSettings, Message> parseSettingsFile(std::string bytes, std::size_t methodCount);
// Reads and parses the file at `path`.
Expected<SavedSettings, Message> readSettingsFile(std::u16string_view path,
                                                  std::size_t methodCount);

// Copies the ten stored options into `into`; its other fields stay.
void takeSavedOptions(const SavedSettings& saved, MainSettings& into);

// The page of a method index, e.g. MethodTable::page; nullptr outside the table.
using PageLookup = std::function<RecordBlock*(int methodIndex)>;

// Loads the page block into the page of the stored method index. A damaged block changes
// nothing on the page and gives "ソラミネファイルではありません"; a method this build does
// not offer yet gives a message saying so.
std::optional<Message> loadSavedPage(const SavedSettings& saved, const PageLookup& pageAt);

// readSettingsFile, then loadSavedPage: the whole load for a caller with nothing to ask in
// between (the command line). The options are returned for the caller to take over.
Expected<SavedSettings, Message> loadSettingsFile(std::u16string_view path, std::size_t methodCount,
                                                  const PageLookup& pageAt);

}  // namespace soramine
