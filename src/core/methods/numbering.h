#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

class AddTextPage;

// The numbering page's INI keys, section "連番".
struct NumberingSettings {
    std::int32_t mode;     // "ラジオ": 0 the pattern is the name, 1 insert it (add-text page)
    std::int32_t kind;     // "文字": 0 数字, 1 アルファベット, 2 漢数字
    std::int32_t digits;   // "桁数": minimum number of digits minus 1 (0..8)
    std::u16string start;  // "開始番号"
    std::u16string step;   // "増減値"
};

inline constexpr std::u16string_view kNumberingSection = u"連番";
std::span<const IniField<NumberingSettings>> numberingSettingsFields();

// The number `value` as text of `kind`, padded with leading zeros to `digits` + 1 characters
// (never cut); a negative value gets "-" before the zeros. 漢数字 writes the zeros as "〇".
std::u16string numberText(long long value, std::int32_t kind, std::int32_t digits);

// What the page's sample line shows for the pattern (already repaired for forbidden
// characters). The digit count grows to fit the start number, up to 9 digits; beyond that
// the message is set, the number is cut and the start number goes back to `previousStart`.
struct NumberingSample {
    std::u16string sample;
    std::int32_t digits = 0;
    std::u16string start;
    std::optional<Message> message;
};
NumberingSample numberingSample(std::u16string_view pattern, const NumberingSettings& settings,
                                std::u16string_view previousStart);

// Numbers the items of a run: start + step x k, in a name pattern where "*" is the number and
// "\" the folder's name. In mode 1 the pattern is inserted by the add-text page.
class NumberingPage final : public MethodPage {
  public:
    explicit NumberingPage(AddTextPage& add);

    NumberingSettings settings;
    HistoryBox pattern;  // "変更名"

    std::u16string_view comboText() const override { return u"連番"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    bool usesAddText() const override { return settings.mode == 1; }
    bool namesFolders() const override { return true; }
    std::vector<TextSetting> textSettings() override;

  private:
    AddTextPage& add_;
};

}  // namespace soramine
