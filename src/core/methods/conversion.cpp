#include "core/methods/conversion.h"

#include <algorithm>
#include <array>

#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/cp932.h"
#include "core/text/kana_width.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"選択", &ConversionSettings::mode, kToLowerCase),
    intField(u"拡張子", &ConversionSettings::ignoreExtension, 1),
    intField(u"英字", &ConversionSettings::lettersOnly, 1),
    intField(u"アルファベット", &ConversionSettings::alphabet, 1),
    intField(u"数字", &ConversionSettings::digits, 1),
    intField(u"カタカナ", &ConversionSettings::katakana, 0),
    intField(u"記号", &ConversionSettings::symbols, 0),
    intField(u"位置", &ConversionSettings::padBehind, 0),
    textField(u"埋め", &ConversionSettings::fill, u"0"),
};

constexpr auto kRecords = std::to_array<RecordField<ConversionPage>>({
    {1092, &ConversionSettings::ignoreExtension},
    {1018, &ConversionSettings::mode},
    {1226, &ConversionSettings::lettersOnly},
    {1135, &ConversionSettings::alphabet},
    {1136, &ConversionSettings::digits},
    {1137, &ConversionSettings::katakana},
    {1138, &ConversionSettings::symbols},
    {1131, &ConversionSettings::padBehind},
    {1133, &ConversionSettings::fill},
});

// Besides the letters, these are word characters when capitalising with "英字" off.
constexpr std::u16string_view kWordSymbols = u"1234567890!#$%&'()=-^{@`};+_,.[]";

// The part of a name the conversion works on: all of it, or without its extension.
std::size_t workLength(std::u16string_view name, bool withoutExtension, bool folderMode) {
    return withoutExtension && !folderMode ? name.size() - text::extensionAfterStem(name).size()
                                           : name.size();
}

// The first character of each word in upper case, the rest in lower case.
void capitaliseWords(std::u16string& work, bool lettersOnly) {
    text::lowerAsciiInPlace(work);
    bool inWord = false;
    for (char16_t& c : work) {
        const bool letter = c >= u'a' && c <= u'z';
        if (!letter && (lettersOnly || kWordSymbols.find(c) == std::u16string_view::npos)) {
            inWord = false;
            continue;
        }
        if (!inWord)
            c = text::upperAscii(c);
        inWord = true;
    }
}

// Reverses the characters of `work`; a surrogate pair is one character and keeps its order, so
// that the name stays valid text.
void reverseCharacters(std::u16string& work) {
    std::reverse(work.begin(), work.end());
    const auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    for (std::size_t i = 0; i + 1 < work.size(); ++i) {
        if (isLow(work[i]) && isHigh(work[i + 1])) {
            std::swap(work[i], work[i + 1]);
            ++i;
        }
    }
}

void padTo(std::u16string& work, std::size_t length, std::u16string_view fill, bool behind) {
    if (work.size() >= length || fill.empty())
        return;
    const std::size_t times = (length - work.size() + fill.size() - 1) / fill.size();
    std::u16string pad;
    pad.reserve(times * fill.size());
    for (std::size_t i = 0; i < times; ++i)
        pad += fill;
    work.insert(behind ? work.size() : 0, pad);
}

}  // namespace

std::span<const IniField<ConversionSettings>> conversionSettingsFields() {
    return kFields;
}

std::optional<Message> fillTextProblem(std::u16string_view typed) {
    if (typed.size() > 1)
        return errorMessage(u"半角文字を一文字だけ入力して下さい。");
    if (!typed.empty() && text::isDoubleByteCp932(typed.front()))
        return errorMessage(u"全角文字は使えません。");
    return std::nullopt;
}

int longestNameLength(const RunItems& items, bool ignoreExtension, bool folderMode) {
    std::size_t longest = 0;
    for (std::size_t k = 0; k < items.count(); ++k)
        longest = std::max(longest, workLength(items.name(k), ignoreExtension, folderMode));
    return static_cast<int>(longest);
}

ConversionPage::ConversionPage() {
    applyDefaults(conversionSettingsFields(), settings);
}

void ConversionPage::readIni(const IniFile& ini) {
    readFields(ini, kConversionSection, conversionSettingsFields(), settings);
}

void ConversionPage::writeIni(IniFile& ini) const {
    writeFields(ini, kConversionSection, conversionSettingsFields(), settings);
}

std::optional<Message> ConversionPage::validate(RunContext&) {
    return std::nullopt;
}

std::optional<Message> ConversionPage::prepare(const RunItems& items, const RunEnvironment& env,
                                               Host&, std::size_t&) {
    longest_ = settings.mode == kPadToLongest
                   ? longestNameLength(items, settings.ignoreExtension != 0, env.folderMode)
                   : 0;
    return std::nullopt;
}

std::u16string ConversionPage::transform(const ItemArgs& item, RunContext& run) {
    const std::u16string_view name = item.name;
    // Capitalising never touches the extension.
    const std::size_t length = workLength(
        name, settings.ignoreExtension || settings.mode == kCapitaliseWords, run.env.folderMode);
    std::u16string work(name.substr(0, length));
    const text::WidthClasses classes{settings.alphabet != 0, settings.digits != 0,
                                     settings.katakana != 0, settings.symbols != 0};
    switch (settings.mode) {
        case kToLowerCase:
            text::lowerAsciiInPlace(work);
            break;
        case kToUpperCase:
            text::upperAsciiInPlace(work);
            break;
        case kHiraganaToKatakana:
            work = text::hiraganaToKatakana(work);
            break;
        case kKatakanaToHiragana:
            work = text::katakanaToHiragana(work);
            break;
        case kCapitaliseWords:
            capitaliseWords(work, settings.lettersOnly != 0);
            break;
        case kToHalfWidth:
            work = text::toHalfWidth(work, classes);
            break;
        case kToFullWidth:
            work = text::toFullWidth(work, classes);
            break;
        case kReverse:
            reverseCharacters(work);
            break;
        case kPadToLongest:
            padTo(work, static_cast<std::size_t>(std::max(longest_, 0)), settings.fill,
                  settings.padBehind == 1);
            break;
    }
    return work.append(name.substr(length));
}

void ConversionPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool ConversionPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<NamedSetting> ConversionPage::namedSettings() {
    return namedSettingsOf(conversionSettingsFields(), settings, {});
}

}  // namespace soramine
