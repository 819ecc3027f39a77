#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/platform/fs.h"

namespace soramine {

// One code of a script.
struct ScriptCode {
    enum class Kind { kReplace, kAdd, kTime };
    Kind kind = Kind::kReplace;
    // kReplace: the text to find (may hold a "*"); kAdd: "F" (front) or "B" (before the
    // extension); kTime: "M" (creation time) or "C" (modification time).
    std::u16string first;
    // kReplace: the replacement; kAdd: the text to add; kTime: the date and time, 19 units.
    std::u16string second;
    friend bool operator==(const ScriptCode&, const ScriptCode&) = default;
};

// A script's valid codes in order, and the numbers (from 1) of its invalid lines.
struct ParsedScript {
    std::vector<ScriptCode> codes;
    std::vector<int> invalidLines;
};

// Parses a script: one code per line; trailing line ends do not make lines. Each line begins
// with "<" and is
//   <find>→<replacement>     (the arrow may stand anywhere in the line)
//   <\AF>text or <\AB>text   (add at the front / before the extension)
//   <\TM>date or <\TC>date   (set the creation / modification time; exactly 19 units)
ParsedScript parseScript(std::u16string_view script);

// The moment a time code's 19 units name (read at fixed places as "YYYY-MM-DD hh:mm:ss",
// the separators not examined) in local time; nothing when they name no valid date and time
// (before 1900, a field out of range, a day the month does not have, a local time that does
// not exist).
std::optional<platform::FileTime> scriptTime(std::u16string_view value);

// The history store's key of the script text and the text when the store has none.
inline constexpr std::u16string_view kScriptKey = u"スクリプト-コード";
inline constexpr std::u16string_view kDefaultScript = u"<置換前文字>→<置換後文字>\r\n";

// The script page's setting: the script text, kept in the history store (not the INI file).
struct ScriptSettings {
    std::u16string script;
};

// Edits names with a list of codes (replace, add) and, when executed, sets file times.
class ScriptPage final : public MethodPage {
  public:
    ScriptPage();

    ScriptSettings settings;

    std::u16string_view comboText() const override { return u"スクリプト"; }
    void readIni(const IniFile&) override {}
    void writeIni(IniFile&) const override {}
    // Logs "%d行目の書式が不正です\r\n" for each invalid line; "書式が不正です。" without any
    // valid line.
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    // The time codes: only an execution changes a file's times.
    void apply(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<StoredText> storedTexts() override;
    std::vector<NamedSetting> namedSettings() override;

  private:
    std::vector<ScriptCode> codes_;  // of the current run, set by validate()
};

}  // namespace soramine
