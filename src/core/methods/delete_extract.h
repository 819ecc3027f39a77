#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"

namespace soramine {

// The delete/extract page's settings: its INI keys, section "削除", and the given text, which
// the history store keeps under "指定文字".
struct DeleteExtractSettings {
    std::int32_t mode;             // "方式": 0 delete, 1 extract
    std::u16string count;          // "文字数": N, decimal digits
    std::int32_t ignoreExtension;  // "拡張子": leave the extension out of the work
    std::int32_t where;            // "削除位置": 0 head, 1 tail, 2 at a position, 3 at a text
    std::int32_t fromTail;         // "先頭から": for 2, count the position 0 from the head,
                                   // 1 from the tail
    std::u16string position;       // "指定位置": P, decimal digits
    std::int32_t after;            // "前方": for 3, 0 the characters before the text, 1 after
    std::u16string givenText;      // not an INI key: "指定文字" of the history store
};

inline constexpr std::u16string_view kDeleteExtractSection = u"削除";
std::span<const IniField<DeleteExtractSettings>> deleteExtractSettingsFields();

// Deletes N characters from each name, or keeps only them: at the head, at the tail, from a
// position, or before or after a given text.
class DeleteExtractPage final : public MethodPage {
  public:
    DeleteExtractPage();

    DeleteExtractSettings settings;

    // "削除" in delete mode, "抽出" in extract mode: the word the captions and messages use.
    std::u16string_view modeWord() const;

    std::u16string_view comboText() const override { return u"削除 / 抽出"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<StoredText> storedTexts() override;
};

}  // namespace soramine
