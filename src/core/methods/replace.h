#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"
#include "core/text/regex.h"

namespace soramine {

// The replace page's INI keys, section "置換".
struct ReplaceSettings {
    std::int32_t mode;             // "置換方法": 0 by text, 1 by position
    std::int32_t caseSensitive;    // "区別"
    std::int32_t ignoreExtension;  // "拡張子": leave the extension out of the work
    std::u16string position;       // "位置": 1-based start of the overwrite
    std::int32_t regex = 0;  // "正規表現": by text, the search text is a regular expression
};

inline constexpr std::u16string_view kReplaceSection = u"置換";
std::span<const IniField<ReplaceSettings>> replaceSettingsFields();

// The position box's text after an edit: a text whose leading number is not at least 1 (also
// an empty text, or one that starts with no digit) becomes "1".
std::u16string repairedPosition(std::u16string_view typed);

// Replaces the first match of A*B (`search` holds a "*"; a further "*" is an ordinary
// character of B) in `work`: from the first A to the first B after it, or with B empty to the
// extension's dot (or the end, for a folder or a name without a dot).
void replaceWildcardMatch(std::u16string& work, std::u16string_view search,
                          std::u16string_view replacement, bool caseSensitive, bool folderMode);

// Replaces a text (with at most one "*" wildcard, or a regular expression whose groups the
// replacement takes as "$1" or "${name}") or overwrites from a position. A "\" in the
// replacement stands for the name of the item's folder.
class ReplacePage final : public MethodPage {
  public:
    ReplacePage();

    ReplaceSettings settings;
    HistoryBox search;       // "変更前": the text to replace
    HistoryBox replacement;  // "変更後"

    std::u16string_view comboText() const override { return u"置換"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<TextSetting> textSettings() override;

  private:
    // Compiles the search text of a regular-expression run into pattern_; the refusal of an
    // invalid pattern or replacement reference.
    std::optional<Message> compilePattern();

    std::optional<text::Regex> pattern_;  // the compiled search text of a regular-expression run
};

}  // namespace soramine
