#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/app/ini_table.h"
#include "core/base/expected.h"
#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/platform/fs.h"
#include "core/settings/history_box.h"

namespace soramine {

// The parsed file-name format of the MP3 method's tag-writing mode.
struct TagFormat {
    std::u16string tagSeparators[5];
    int tagOrder[5] = {-1, -1, -1, -1, -1};
};

// Parses the file-name format of the MP3 method's tag-writing mode: the tags "$L", "$A",
// "$T", "$N" (0..3) and the texts between them, up to five slots. tagOrder[0] holds a tag
// only when the format begins with one. A refused format gives its message.
Expected<TagFormat, Message> parseTagFormat(std::u16string_view format);

// The MP3 page's settings: its INI keys (section "MP3") and the two fixed texts, which the
// history store keeps under keys of their own.
struct Mp3TagSettings {
    std::int32_t direction;     // "MP3": 0 tags to name, 1 name to tags
    std::int32_t fixedArtist;   // "Artist": name to tags writes artistText as the artist
    std::int32_t fixedAlbum;    // "Album": ... albumText as the album
    std::int32_t fixedGenre;    // "Genre": ... the genre `genre`
    std::int32_t genre;         // "ジャンル": the ID3v1 genre number, the genre list's index
    std::u16string artistText;  // history store "MP3アーティスト名"
    std::u16string albumText;   // history store "MP3アルバム名"
};

inline constexpr std::u16string_view kMp3Section = u"MP3";
std::span<const IniField<Mp3TagSettings>> mp3TagSettingsFields();

// Builds names from the ID3 tags of MP3 files by a format such as "$N-[$T]($L)_$A", or writes
// the pieces of the names, split by that format, into the files' ID3v1 and ID3v2 tags. A file
// is rewritten whole, through a temporary file that replaces it only when complete.
class Mp3TagPage final : public MethodPage {
  public:
    Mp3TagPage();
    ~Mp3TagPage() override;

    Mp3TagSettings settings;
    HistoryBox format;  // "設定値"

    std::u16string_view comboText() const override { return u"MP3"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::optional<Message> prepare(const RunItems& items, const RunEnvironment& env, Host& host,
                                   std::size_t& runCount) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void apply(const ItemArgs& item, RunContext& run) override;
    void finishApply(RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<TextSetting> textSettings() override;

  private:
    // A tag write waiting for its commit, with the file's path for the log.
    struct PendingWrite {
        platform::PendingReplacement file;
        std::u16string path;
    };
    void commitPending(RunContext& run);

    TagFormat parsed_;  // the format of a name-to-tags run, parsed by prepare()
    // The tag writes of a name-to-tags execution are committed in groups, whose flushes share
    // the disk's work: apply() commits a full group, finishApply() the rest.
    std::vector<PendingWrite> pending_;
    std::uint64_t pendingBytes_ = 0;
    // Frees the old content of the files of the group committed last while the next group is
    // written (the disk takes a while to free 256 MiB); finishApply() waits for it.
    std::thread releaser_;
};

}  // namespace soramine
