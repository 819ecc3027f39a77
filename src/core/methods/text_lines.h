#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/ini_table.h"
#include "core/base/expected.h"
#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

class AddTextPage;
class Host;
class RenameSession;

// The names-from-text page's INI keys, section "テキスト".
struct TextLinesSettings {
    std::int32_t source;           // "元テキスト": 0 the clipboard, 1 a text file
    std::int32_t withExtension;    // "拡張子": a line is the whole new name
    std::int32_t add;              // "追加": insert the line (add-text page's positions)
    std::int32_t exportSelected;   // "選択": the export writes the selected items only
    std::int32_t exportExtension;  // "含める": the export keeps each name's extension
    std::int32_t exportFullPath;   // "フルパス": the export writes folder + name
    std::int32_t exportClipboard;  // "クリップボード": the export goes to the clipboard
    std::int32_t exportUnicode;    // "Unicode": a file export is UTF-16LE with a BOM
};

inline constexpr std::u16string_view kTextLinesSection = u"テキスト";
std::span<const IniField<TextLinesSettings>> textLinesSettingsFields();

// One line of a list of names. A line that cannot serve as a name is kept as a mark, so
// that the following lines still meet their own items.
struct TextLine {
    enum class Problem {
        kNone,
        kNotCp932,  // the file holds bytes that code page 932 does not define here
        kTooLong,   // longer than kLongestReadLine bytes: its text is not kept
    };
    std::u16string text;
    Problem problem = Problem::kNone;
};

// Lines longer than this (in the file's bytes) are not kept: a name has at most 250 units,
// and a huge file without line ends must not be held in memory.
inline constexpr std::size_t kLongestReadLine = 4096;

// Where the lines come from: the clipboard, or the text file at `path`.
struct LineSource {
    bool clipboard = false;
    std::u16string_view path;
    // The clipboard's messages end in three ideographic spaces, or in one TAB for folder
    // creation.
    bool folderCreation = false;
};

// The first `maxLines` lines of the source (fewer when it has fewer). A text file is read in
// code page 932, once, in blocks, and only up to the last line wanted; "\r\n" and "\n" end a
// line, every line counts (empty ones too, and a last one without a line end). The
// clipboard's text loses its trailing CR and LF characters and is split at each "\r\n" only.
// The message ("テキストファイルが不正です", or the clipboard's two) when there are no lines.
Expected<std::vector<TextLine>, Message> readLines(const LineSource& source, Host& host,
                                                   std::size_t maxLines);
// The clipboard's lines of `text`, as readLines() splits them.
std::vector<TextLine> clipboardLines(std::u16string_view text);

// The name a line gives (the per-line rules shared with folder creation): forbidden
// characters widened or deleted (deletion logged with the line), and nothing when the line
// is then empty, longer than 250 units, or not a readable line at all (logged).
std::optional<std::u16string> nameOfLine(const TextLine& line, const ItemArgs& item,
                                         RunContext& run);

// The text of the list export: one line per row of `rows`, each ending in "\r\n".
std::u16string listExportText(const ItemTable& items, std::span<const std::size_t> rows,
                              const TextLinesSettings& settings, bool folderMode);
// The list export of the session's items (the selected ones with 選択 on), or nothing when
// there is no item to write.
std::optional<std::u16string> listExport(const RenameSession& session,
                                         const TextLinesSettings& settings);
// The export's bytes for a file: UTF-16LE after FF FE, or code page 932.
std::string listExportBytes(std::u16string_view text, bool unicode);
// Writes the export to a file (replacing it); "ファイルオープンエラー" when that fails.
std::optional<Message> saveListExport(std::u16string_view path, std::u16string_view text,
                                      bool unicode);
// What the export says after copying to the clipboard, and asks after writing a file.
Message listCopiedMessage();
Message openExportQuestion();

// Names the k-th item of a run after the k-th line of a text file or of the clipboard:
// the line is the new name (with or without the old extension) or is inserted into it.
class TextLinesPage final : public MethodPage {
  public:
    explicit TextLinesPage(AddTextPage& add);

    TextLinesSettings settings;
    HistoryBox path;  // "ファイル名": the text file

    std::u16string_view comboText() const override { return u"テキスト"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::optional<Message> prepare(const RunItems& items, const RunEnvironment& env, Host& host,
                                   std::size_t& runCount) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    bool usesAddText() const override { return settings.add != 0; }
    bool namesFolders() const override { return true; }
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;

  private:
    AddTextPage& add_;
    std::vector<TextLine> lines_;  // of the current run, set by prepare()
};

// A path dropped on the path box is taken when it is one existing file (not a folder) whose
// extension is "txt" or "text" in any letter case.
bool isDroppableTextFile(std::u16string_view path);

}  // namespace soramine
