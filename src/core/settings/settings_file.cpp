#include "core/settings/settings_file.h"

#include "core/platform/fs.h"
#include "core/settings/records.h"

namespace soramine {

namespace {

constexpr std::string_view kMagic{"qrn\0", 4};
constexpr std::uint32_t kFolderTextId = 1002;
constexpr std::uint32_t kExtensionTextId = 1003;
constexpr std::size_t kFolderTextOffsetAt = 30;
constexpr std::size_t kExtensionTextOffsetAt = 46;

Message openError() {
    return Message{u"ファイルを開くことが出来ませんでした", u"ファイルオープンエラー", Icon::Error};
}

Message notOurFile() {
    return Message{u"ソラミネファイルではありません", u"ファイルオープンエラー", Icon::Error};
}

void appendText(std::string& out, std::u16string_view text) {
    for (char16_t c : text)
        appendUint16(out, c);
}

}  // namespace

std::string buildSettingsFile(const MainSettings& options, std::u16string_view folderText,
                              std::u16string_view extensionText, const RecordBlock& page) {
    BlockWriter block(kSettingsPageBlockStart);
    page.saveBlock(block);

    std::string out(kMagic);
    appendUint16(out, 1);
    appendUint16(out, static_cast<std::uint16_t>(2 + block.recordCount()));
    for (auto field : kSavedOptionFields)
        out += static_cast<char>(options.*field & 0xFF);
    for (auto [id, text] :
         {std::pair{kFolderTextId, folderText}, std::pair{kExtensionTextId, extensionText}}) {
        appendUint32(out, id);
        appendUint32(out, Record::kText);
        appendUint32(out, static_cast<std::uint32_t>(text.size()));
        appendUint32(out, 0);  // the offset, patched below
    }
    out += block.bytes();
    putUint32(out, kFolderTextOffsetAt, static_cast<std::uint32_t>(out.size()));
    appendText(out, folderText);
    putUint32(out, kExtensionTextOffsetAt, static_cast<std::uint32_t>(out.size()));
    appendText(out, extensionText);
    return out;
}

std::optional<Message> saveSettingsFile(std::u16string_view path, const MainSettings& options,
                                        std::u16string_view folderText,
                                        std::u16string_view extensionText,
                                        const RecordBlock& page) {
    const std::string bytes = buildSettingsFile(options, folderText, extensionText, page);
    if (!platform::writeFileAtomic(path, bytes))
        return openError();
    return std::nullopt;
}

Expected<SavedSettings, Message> parseSettingsFile(std::string bytes, std::size_t methodCount) {
    if (bytes.size() < kSettingsPageBlockStart || std::string_view(bytes).substr(0, 4) != kMagic ||
        getUint16(bytes, 6) < 2)
        return Unexpected{notOurFile()};
    SavedSettings saved;
    for (std::size_t i = 0; i < std::size(kSavedOptionFields); ++i)
        saved.options.*kSavedOptionFields[i] = static_cast<std::uint8_t>(bytes[8 + i]);
    if (static_cast<std::size_t>(saved.options.methodIndex) >= methodCount)
        return Unexpected{notOurFile()};

    BlockReader main(bytes, kSettingsHeaderSize, kSettingsPageBlockStart);
    auto records = main.records(2);
    auto folder = records ? main.text((*records)[0]) : std::nullopt;
    auto extension = records ? main.text((*records)[1]) : std::nullopt;
    if (!folder || !extension)
        return Unexpected{notOurFile()};
    saved.folderText = std::move(*folder);
    saved.extensionText = std::move(*extension);
    saved.bytes = std::move(bytes);
    return saved;
}

Expected<SavedSettings, Message> readSettingsFile(std::u16string_view path,
                                                  std::size_t methodCount) {
    auto bytes = platform::readFile(path);
    if (!bytes)
        return Unexpected{openError()};
    return parseSettingsFile(std::move(bytes.value()), methodCount);
}

void takeSavedOptions(const SavedSettings& saved, MainSettings& into) {
    for (auto field : kSavedOptionFields)
        into.*field = saved.options.*field;
}

std::optional<Message> loadSavedPage(const SavedSettings& saved, const PageLookup& pageAt) {
    RecordBlock* page = pageAt(saved.options.methodIndex);
    if (!page)
        return notOurFile();
    const std::size_t recordCount = getUint16(saved.bytes, 6);
    BlockReader block(saved.bytes, kSettingsPageBlockStart,
                      kSettingsHeaderSize + Record::kSize * recordCount);
    if (!page->loadBlock(block))
        return notOurFile();
    return std::nullopt;
}

Expected<SavedSettings, Message> loadSettingsFile(std::u16string_view path, std::size_t methodCount,
                                                  const PageLookup& pageAt) {
    auto saved = readSettingsFile(path, methodCount);
    if (!saved)
        return saved;
    if (auto message = loadSavedPage(*saved, pageAt))
        return Unexpected{*message};
    return saved;
}

}  // namespace soramine
