#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/base/message.h"
#include "core/engine/method.h"

namespace soramine {

// The conversion page's INI keys, section "その他".
struct ConversionSettings {
    std::int32_t mode;             // "選択": the conversion, see ConversionMode
    std::int32_t ignoreExtension;  // "拡張子": leave the extension out
    std::int32_t lettersOnly;      // "英字": capitalising, only letters form words
    std::int32_t alphabet;         // "アルファベット": width conversions touch letters,
    std::int32_t digits;           // "数字": digits,
    std::int32_t katakana;         // "カタカナ": katakana and Japanese punctuation,
    std::int32_t symbols;          // "記号": symbols
    std::int32_t padBehind;        // "位置": adjusting, 0 fill in front, 1 behind
    std::u16string fill;           // "埋め": adjusting, the fill text
};

// The values of ConversionSettings::mode, in the order of the page's buttons.
enum ConversionMode : std::int32_t {
    kToLowerCase,
    kToUpperCase,
    kHiraganaToKatakana,
    kKatakanaToHiragana,
    kCapitaliseWords,
    kToHalfWidth,
    kToFullWidth,
    kReverse,
    kPadToLongest,
};

inline constexpr std::u16string_view kConversionSection = u"その他";
std::span<const IniField<ConversionSettings>> conversionSettingsFields();

// Why a text typed into the fill box is refused (the box then goes back to its text before
// the edit): more than one character, or a first character that code page 932 writes with
// two bytes.
std::optional<Message> fillTextProblem(std::u16string_view typed);

// The greatest length of the work text among the run's items: with `ignoreExtension` a name
// is measured without its extension, as the transform leaves it out (not in folder mode, and
// not when only a leading dot would be left).
int longestNameLength(const RunItems& items, bool ignoreExtension, bool folderMode);

// Converts the characters of each name: letter case, kana, width, reversal, or filling the
// name up to the length of the run's longest.
class ConversionPage final : public MethodPage {
  public:
    ConversionPage();

    ConversionSettings settings;

    std::u16string_view comboText() const override { return u"その他"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::optional<Message> prepare(const RunItems& items, const RunEnvironment& env, Host& host,
                                   std::size_t& runCount) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<NamedSetting> namedSettings() override;

  private:
    int longest_ = 0;  // the run's longest work text, in the adjust mode
};

}  // namespace soramine
