#include "core/methods/hash_name.h"

#include <array>

#include "core/engine/run.h"
#include "core/hash/file_digest.h"
#include "core/methods/add_text.h"
#include "core/methods/named_settings.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"方法", &HashNameSettings::mode, 0),
    intField(u"種類", &HashNameSettings::kind, 0),
    intField(u"アルファベット", &HashNameSettings::lowercase, 0),
    intField(u"囲み", &HashNameSettings::enclosure, 0),
};

// In add mode the add-text page's position records follow these.
constexpr auto kRecords = std::to_array<RecordField<HashNamePage>>({
    {1163, &HashNameSettings::mode},
    {1160, &HashNameSettings::kind},
    {1165, &HashNameSettings::lowercase},
    {1168, &HashNameSettings::enclosure},
});

constexpr std::array<Enclosure, 5> kEnclosures = {{
    {u"", u""},
    {u"[", u"]"},
    {u"(", u")"},
    {u"「", u"」"},
    {u"【", u"】"},
}};

hash::DigestKind digestKindOf(std::int32_t kind) {
    switch (kind) {
        case 1:
            return hash::DigestKind::Md5;
        case 2:
            return hash::DigestKind::Sha1;
        default:
            return hash::DigestKind::Crc32;
    }
}

// The extension the digest keeps: the name from its last "." on, none when the only "." is
// the first character (a dot file is all name).
std::u16string_view keptExtension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos || dot == 0 ? std::u16string_view() : name.substr(dot);
}

void logItem(RunContext& run, std::u16string_view message, const ItemArgs& item) {
    run.log.appendLog(std::u16string(message)
                          .append(u" - ")
                          .append(item.folder)
                          .append(item.name)
                          .append(u"\r\n"));
}

// The digest of the file in hexadecimal, or nothing after a logged failure. A large file shows
// a progress of its own; a cancel stops reading it and gives no digest.
std::optional<std::u16string> fileDigest(const ItemArgs& item, const HashNameSettings& settings,
                                         RunContext& run) {
    const std::u16string path = std::u16string(item.folder).append(item.name);
    const auto stamp = platform::fileStamp(path);
    const std::uint64_t chunks = (stamp ? stamp->size / hash::kFileChunkSize : 0) + 1;
    RunObserver* progress = run.progress;
    const bool shown = progress && chunks > kHashProgressChunks;
    if (shown)
        progress->beginItemWork(u"ハッシュ計算中", chunks);

    const auto digest = hash::makeDigest(digestKindOf(settings.kind));
    std::uint64_t read = 0;
    bool cancelled = false;
    const platform::Status status = hash::digestFile(*digest, path, [&] {
        ++read;
        if (shown)
            progress->advanceItemWork(1);
        if (progress) {
            progress->step();
            cancelled = progress->cancelled();
        }
        return !cancelled;
    });
    if (shown)
        progress->endItemWork();

    // A file that gave nothing before failing could not be opened (a folder fails so too); a
    // read that failed later, or a cancel, leaves a digest of part of the file, which is no name.
    if (!status && read == 0) {
        logItem(run, u"ファイルが開けません", item);
        return std::nullopt;
    }
    if (!status || cancelled) {
        logItem(run, u"ハッシュ作成失敗", item);
        return std::nullopt;
    }
    return text::fromAscii(hash::hexDigest(*digest, settings.lowercase == 1));
}

}  // namespace

std::span<const IniField<HashNameSettings>> hashNameSettingsFields() {
    return kFields;
}

std::span<const Enclosure> hashEnclosures() {
    return kEnclosures;
}

HashNamePage::HashNamePage(AddTextPage& add) : add_(add) {
    applyDefaults(hashNameSettingsFields(), settings);
}

void HashNamePage::readIni(const IniFile& ini) {
    readFields(ini, kHashNameSection, hashNameSettingsFields(), settings);
}

void HashNamePage::writeIni(IniFile& ini) const {
    writeFields(ini, kHashNameSection, hashNameSettingsFields(), settings);
}

std::optional<Message> HashNamePage::validate(RunContext&) {
    return std::nullopt;
}

std::u16string HashNamePage::transform(const ItemArgs& item, RunContext& run) {
    const std::optional<std::u16string> digest = fileDigest(item, settings, run);
    if (!digest)
        return std::u16string(item.name);
    const std::size_t enclosure = static_cast<std::size_t>(settings.enclosure);
    const Enclosure around = enclosure < kEnclosures.size() ? kEnclosures[enclosure] : Enclosure{};
    std::u16string text = std::u16string(around.before).append(*digest).append(around.after);
    if (settings.mode == 1)
        return add_.insert(item.name, text, u"", run);
    return text.append(keptExtension(item.name));
}

void HashNamePage::saveBlock(BlockWriter& out) const {
    saveWithAddTextPositions(kRecords, *this, add_, out);
}

bool HashNamePage::loadBlock(BlockReader& in) {
    return loadWithAddTextPositions(kRecords, *this, &HashNameSettings::mode, add_, in);
}

std::vector<NamedSetting> HashNamePage::namedSettings() {
    auto out = namedSettingsOf(hashNameSettingsFields(), settings, {});
    // In add mode the digest goes where the add-text page's position settings say, and a job
    // stores those with the hash page's own.
    auto positions = add_.positionSettings();
    out.insert(out.end(), positions.begin(), positions.end());
    return out;
}

}  // namespace soramine
