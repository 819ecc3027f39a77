#include "core/methods/mp3_tags.h"

#include <algorithm>
#include <array>

#include "core/methods/id3.h"
#include "core/methods/named_settings.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"MP3", &Mp3TagSettings::direction, 0),
    intField(u"Artist", &Mp3TagSettings::fixedArtist, 0),
    intField(u"Album", &Mp3TagSettings::fixedAlbum, 0),
    intField(u"Genre", &Mp3TagSettings::fixedGenre, 0),
    intField(u"ジャンル", &Mp3TagSettings::genre, 0),
};

constexpr auto kRecords = std::to_array<RecordField<Mp3TagPage>>({
    {1076, &Mp3TagSettings::direction},
    {1147, &Mp3TagSettings::fixedArtist},
    {1145, &Mp3TagSettings::artistText},
    {1148, &Mp3TagSettings::fixedAlbum},
    {1146, &Mp3TagSettings::albumText},
    {1149, &Mp3TagSettings::fixedGenre},
    {1150, &Mp3TagSettings::genre},
    {1140, &Mp3TagPage::format},
});

constexpr std::u16string_view kArtistKey = u"MP3アーティスト名";
constexpr std::u16string_view kAlbumKey = u"MP3アルバム名";
constexpr std::uint64_t kTooLarge = std::uint64_t{1} << 32;

// A group of tag writes is committed when it holds this many files or bytes.
constexpr std::size_t kGroupFiles = 64;
constexpr std::uint64_t kGroupBytes = std::uint64_t{256} << 20;

void logItem(RunContext& run, std::u16string_view message, const ItemArgs& item) {
    run.log.appendLog(std::u16string(message)
                          .append(u" - ")
                          .append(item.folder)
                          .append(item.name)
                          .append(u"\r\n"));
}

void logWriteFailure(RunContext& run, platform::OsError error, std::u16string_view path) {
    run.log.appendLog(u"ファイルを書き込めません（" + platform::systemErrorText(error) + u"）" +
                      u" - " + std::u16string(path) + u"\r\n");
}

// An MP3 file as both directions start on it: open, with its first bytes and the 128 bytes at
// its end (empty in a file too short to hold them).
struct Mp3File {
    platform::OpenFile file;
    std::string head;
    std::string v1;
    id3::FileStart start;
};

// Opens the item's file after checking its extension; nothing after a logged problem.
std::optional<Mp3File> openMp3(const ItemArgs& item, RunContext& run, bool forWriting) {
    const std::u16string_view name = item.name;
    if (name.size() < 4 || !text::equalsIgnoreAsciiCase(name.substr(name.size() - 4), u".mp3")) {
        logItem(run, u"MP3ファイルではありません(拡張子)", item);
        return std::nullopt;
    }
    auto file = platform::OpenFile::open(std::u16string(item.folder).append(name), forWriting);
    if (!file) {
        logItem(run, u"ファイルを開けません", item);
        return std::nullopt;
    }
    auto head = file->read(0, id3::kHeaderSize);
    auto v1 = file->size() >= id3::kV1Size
                  ? file->read(file->size() - id3::kV1Size, id3::kV1Size)
                  : Expected<std::string, platform::OsError>(std::string());
    if (!head || !v1) {
        logItem(run, u"ファイルを開けません", item);
        return std::nullopt;
    }
    const id3::FileStart start = id3::classifyStart(*head);
    return Mp3File{std::move(*file), std::move(*head), std::move(*v1), start};
}

// The whole ID3v2 tag at the file's start (header, body and footer), or nothing after a logged
// problem: a file of 4 GiB or more, or one shorter than its tag says.
std::optional<std::string> readTag(const Mp3File& mp3, std::uint64_t audioEnd, const ItemArgs& item,
                                   RunContext& run) {
    if (mp3.file.size() >= kTooLarge) {
        logItem(run, u"ファイルサイズが大きすぎます", item);
        return std::nullopt;
    }
    const std::uint64_t total = id3::tagTotalSize(mp3.head);
    if (total > audioEnd) {
        logItem(run, u"TAG情報が異常です（TAG Size）", item);
        return std::nullopt;
    }
    auto tag = mp3.file.read(0, static_cast<std::size_t>(total));
    if (!tag || tag->size() != total) {
        logItem(run, u"ファイルを開けません", item);
        return std::nullopt;
    }
    return std::move(*tag);
}

// The values of the item's tags, or nothing after a logged problem.
std::optional<id3::TagValues> readValues(const ItemArgs& item, RunContext& run) {
    const std::optional<Mp3File> mp3 = openMp3(item, run, false);
    if (!mp3)
        return std::nullopt;
    switch (mp3->start) {
        case id3::FileStart::kAudio:
            if (!id3::isV1(mp3->v1)) {
                logItem(run, u"TAG情報がありません", item);
                return std::nullopt;
            }
            return id3::readV1(mp3->v1);
        case id3::FileStart::kId3v2: {
            const std::optional<std::string> tag = readTag(*mp3, mp3->file.size(), item, run);
            if (!tag)
                return std::nullopt;
            auto values = id3::readV2Values(*tag);
            if (!values) {
                logItem(run, u"TAG情報が異常です（DATA）", item);
                return std::nullopt;
            }
            return std::move(*values);
        }
        case id3::FileStart::kUnknown:
            break;
    }
    logItem(run, u"MP3ファイルではありません(ヘッダ)", item);
    return std::nullopt;
}

// The name the format gives: "$%dN" (the first k of 1..9 that occurs) pads the track with
// zeros to k characters, then each "$N", "$T", "$A" and "$L" of the format becomes its value.
// Values are put in by one pass over the format, so a value holding a token stays as it is.
// Empty when nothing was put in or the result is empty.
std::u16string nameFromFormat(std::u16string format, const id3::TagValues& values) {
    std::size_t pad = 0;
    for (char16_t k = u'1'; k <= u'9'; ++k) {
        const std::u16string token = std::u16string(u"$") + k + u"N";
        if (format.find(token) != std::u16string::npos) {
            text::replaceAll(format, token, u"$N");
            pad = static_cast<std::size_t>(k - u'0');
            break;
        }
    }
    std::u16string track = values.track;
    if (track.size() < pad)
        track.insert(0, pad - track.size(), u'0');
    std::u16string out;
    int replaced = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const std::u16string* value = nullptr;
        if (format[i] == u'$' && i + 1 < format.size()) {
            switch (format[i + 1]) {
                case u'N':
                    value = &track;
                    break;
                case u'T':
                    value = &values.title;
                    break;
                case u'A':
                    value = &values.artist;
                    break;
                case u'L':
                    value = &values.album;
                    break;
                default:
                    break;
            }
        }
        if (value) {
            out += *value;
            ++replaced;
            ++i;
        } else {
            out += format[i];
        }
    }
    return replaced == 0 ? std::u16string() : out;
}

// The values the file name gives, split by the parsed format; nothing when a separator is
// missing. The last tag takes everything after the last separator.
std::optional<id3::TagValues> splitName(std::u16string_view base, const TagFormat& f) {
    id3::TagValues v;
    std::u16string* byTag[] = {&v.album, &v.artist, &v.title, &v.track};
    const auto tag = [&](int order) { return byTag[order]; };
    const int first = f.tagSeparators[0].empty() ? 1 : 0;
    std::u16string_view rest = base;
    for (int j = 0;;) {
        const std::u16string& sep = f.tagSeparators[first + j];
        const std::size_t at = rest.find(sep);
        if (at == std::u16string_view::npos)
            return std::nullopt;
        if (f.tagOrder[j] != -1)
            *tag(f.tagOrder[j]) = rest.substr(0, at);
        rest = rest.substr(at + sep.size());
        if (f.tagOrder[j + 1] == -1) {
            if (f.tagOrder[j] != -1)
                *tag(f.tagOrder[j]) = rest;
            return v;
        }
        if (++j == 4) {
            *tag(f.tagOrder[4]) = rest;
            return v;
        }
    }
}

// Where the audio after an old tag starts: past the zero bytes that follow the tag.
Expected<std::uint64_t, platform::OsError> audioStart(const platform::OpenFile& file,
                                                      std::uint64_t from, std::uint64_t end) {
    constexpr std::size_t kChunk = 64 * 1024;
    while (from < end) {
        auto chunk =
            file.read(from, static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, end - from)));
        if (!chunk)
            return Unexpected{chunk.error()};
        if (chunk->empty())
            break;
        const std::size_t nonZero = chunk->find_first_not_of('\0');
        if (nonZero != std::string::npos)
            return from + nonZero;
        from += chunk->size();
    }
    return from;
}

}  // namespace

Expected<TagFormat, Message> parseTagFormat(std::u16string_view format) {
    static constexpr std::array<std::u16string_view, 4> kTags = {u"$L", u"$A", u"$T", u"$N"};
    TagFormat f;
    std::size_t p = format.find(u'$');
    if (p == std::u16string_view::npos)
        return Unexpected{errorMessage(u"設定の形式が不正です(項目無し)")};
    int matched = 0;
    int slot = 0;
    int sep = 0;
    std::size_t prevEnd = 0;
    do {
        const auto tag = std::find(kTags.begin(), kTags.end(), format.substr(p, 2));
        if (tag != kTags.end()) {
            ++matched;
            f.tagSeparators[sep] = std::u16string(format.substr(prevEnd, p - prevEnd));
            if (matched != 1 && f.tagSeparators[sep].empty())
                return Unexpected{errorMessage(u"設定の形式が不正です(区切り無し)")};
            ++sep;
            if (slot == 0 && p != 0)
                slot = 1;
            f.tagOrder[slot++] = static_cast<int>(tag - kTags.begin());
            prevEnd = p + 2;
        }
        p = format.find(u'$', p + 1);
    } while (slot < 5 && p != std::u16string_view::npos);
    for (int i = 0; i < 5; ++i) {
        for (int j = i + 1; j < 5; ++j) {
            if (f.tagOrder[i] != -1 && f.tagOrder[i] == f.tagOrder[j])
                return Unexpected{errorMessage(u"設定の形式が不正です(同じ項目)\r\n")};
        }
    }
    return f;
}

std::span<const IniField<Mp3TagSettings>> mp3TagSettingsFields() {
    return kFields;
}

Mp3TagPage::Mp3TagPage()
    : format{std::u16string(kMp3Section), u"設定値", u"$N-[$T]($L)_$A", {}, u"$N-[$T]($L)_$A"} {
    applyDefaults(mp3TagSettingsFields(), settings);
    settings.artistText = u"アーティスト名";
    settings.albumText = u"アルバム名";
}

void Mp3TagPage::readIni(const IniFile& ini) {
    readFields(ini, kMp3Section, mp3TagSettingsFields(), settings);
}

void Mp3TagPage::writeIni(IniFile& ini) const {
    writeFields(ini, kMp3Section, mp3TagSettingsFields(), settings);
}

std::optional<Message> Mp3TagPage::validate(RunContext&) {
    return std::nullopt;
}

std::optional<Message> Mp3TagPage::prepare(const RunItems&, const RunEnvironment&, Host&,
                                           std::size_t&) {
    if (format.text.empty())
        return errorMessage(u"変更する形式を入力してください");
    if (settings.direction != 1)
        return std::nullopt;
    auto parsed = parseTagFormat(format.text);
    if (!parsed)
        return parsed.error();
    parsed_ = std::move(*parsed);
    return std::nullopt;
}

std::u16string Mp3TagPage::transform(const ItemArgs& item, RunContext& run) {
    if (settings.direction == 1)
        return std::u16string(item.name);
    const std::optional<id3::TagValues> values = readValues(item, run);
    if (!values)
        return std::u16string(item.name);
    std::u16string name = nameFromFormat(format.text, *values);
    if (name.empty()) {
        logItem(run, u"設定の形式、またはMP3タグ情報が不正です", item);
        return std::u16string(item.name);
    }
    name += u".mp3";
    text::ForbiddenRepair repair = text::checkForbiddenChars(
        name, text::ForbiddenSet::NoAsteriskNoBackslash, run.env.fullWidthForbidden);
    if (repair.message) {
        run.log.appendLog(repair.message->text + u" - " + std::u16string(item.folder) + name +
                          u"\r\n");
    }
    text::replaceAll(repair.text, u'\\', text::folderNameOf(item.folder));
    return std::move(repair.text);
}

void Mp3TagPage::apply(const ItemArgs& item, RunContext& run) {
    if (settings.direction != 1)
        return;
    const std::optional<Mp3File> mp3 = openMp3(item, run, true);
    if (!mp3)
        return;
    const std::u16string_view name = item.name;
    std::optional<id3::TagValues> given = splitName(name.substr(0, name.rfind(u'.')), parsed_);
    if (!given) {
        logItem(run, u"区切り文字が見つかりません", item);
        return;
    }
    if (settings.fixedAlbum)
        given->album = settings.albumText;
    if (settings.fixedArtist)
        given->artist = settings.artistText;
    if (settings.fixedGenre)
        given->genre = text::decimal(settings.genre);
    const std::string v1 = id3::updateV1(mp3->v1, *given);
    const std::uint64_t audioEnd = mp3->file.size() - (id3::isV1(mp3->v1) ? id3::kV1Size : 0);

    std::optional<std::string> tag;
    std::uint64_t audioFrom = 0;
    switch (mp3->start) {
        case id3::FileStart::kAudio:
            if (mp3->file.size() >= kTooLarge) {
                logItem(run, u"ファイルサイズが大きすぎます", item);
                return;
            }
            tag = id3::writeTag(id3::newTagFrames(*given, v1), id3::kNewTagBody);
            break;
        case id3::FileStart::kId3v2: {
            const std::optional<std::string> old = readTag(*mp3, audioEnd, item, run);
            if (!old)
                return;
            auto frames = id3::readFrames(*old);
            if (!frames) {
                logItem(run,
                        frames.error() == id3::TagError::kData ? u"TAG情報が異常です（DATA）"
                                                               : u"TAG情報を変換できません",
                        item);
                return;
            }
            tag = id3::writeTag(id3::rebuiltTagFrames(*given, *frames),
                                std::max(id3::tagBodySize(mp3->head), id3::kNewTagBody));
            auto from = audioStart(mp3->file, old->size(), audioEnd);
            if (!from) {
                logItem(run, u"ファイルを開けません", item);
                return;
            }
            audioFrom = *from;
            break;
        }
        case id3::FileStart::kUnknown:
            logItem(run, u"MP3ファイルではありません(適合なし)", item);
            return;
    }
    if (!tag) {
        logItem(run, u"TAG情報が異常です（TAG Size）", item);
        return;
    }
    auto written = mp3->file.writeReplacement(*tag, audioFrom, audioEnd - audioFrom, v1);
    if (!written) {
        logWriteFailure(run, written.error(), std::u16string(item.folder) + std::u16string(name));
        return;
    }
    pendingBytes_ += written->size();
    pending_.push_back({std::move(*written), std::u16string(item.folder) + std::u16string(name)});
    if (pending_.size() >= kGroupFiles || pendingBytes_ >= kGroupBytes)
        commitPending(run);
}

Mp3TagPage::~Mp3TagPage() {
    if (releaser_.joinable())
        releaser_.join();
}

void Mp3TagPage::finishApply(RunContext& run) {
    commitPending(run);
    if (releaser_.joinable())
        releaser_.join();
}

void Mp3TagPage::commitPending(RunContext& run) {
    if (pending_.empty())
        return;
    // All flushes first: the disk then writes the group as one piece of work.
    for (PendingWrite& write : pending_)
        (void)write.file.flush();  // a failure is the commit's
    for (PendingWrite& write : pending_) {
        if (auto committed = write.file.commit(); committed)
            ++run.processedCount;
        else
            logWriteFailure(run, committed.error(), write.path);
    }
    if (releaser_.joinable())
        releaser_.join();
    releaser_ = std::thread([group = std::move(pending_)]() mutable { group.clear(); });
    pending_.clear();  // a moved-from vector is left valid but unspecified
    pendingBytes_ = 0;
}

void Mp3TagPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool Mp3TagPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<HistoryBox*> Mp3TagPage::histories() {
    return {&format};
}

std::vector<NamedSetting> Mp3TagPage::namedSettings() {
    auto out = namedSettingsOf(mp3TagSettingsFields(), settings, {&format});
    out.push_back({kArtistKey, nullptr, &settings.artistText});
    out.push_back({kAlbumKey, nullptr, &settings.albumText});
    return out;
}

std::vector<TextSetting> Mp3TagPage::textSettings() {
    // "\" stands for the folder's name.
    return {textSettingOf(format, text::ForbiddenSet::NoBackslash)};
}

}  // namespace soramine
