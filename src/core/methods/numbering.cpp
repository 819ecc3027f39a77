#include "core/methods/numbering.h"

#include <algorithm>
#include <array>

#include "core/methods/add_text.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"ラジオ", &NumberingSettings::mode, 0),
    intField(u"文字", &NumberingSettings::kind, 0),
    intField(u"桁数", &NumberingSettings::digits, 2),
    textField(u"開始番号", &NumberingSettings::start, u"1"),
    textField(u"増減値", &NumberingSettings::step, u"1"),
};

// In add mode the add-text page's position records follow these.
constexpr auto kRecords = std::to_array<RecordField<NumberingPage>>({
    {1128, &NumberingSettings::mode},
    {1211, &NumberingSettings::kind},
    {1032, &NumberingPage::pattern},
    {1033, &NumberingSettings::start, Record::kNumber},
    {1016, &NumberingSettings::digits},
    {1134, &NumberingSettings::step, Record::kNumber},
});
constexpr std::int32_t kMaxDigits = 8;  // the digit list offers 1 to 9 digits

constexpr std::u16string_view kAlphabetDigits = u"0ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::u16string_view kKanjiDigits = u"〇一二三四五六七八九";

// `magnitude` in the digits of kind 1 (base 27) or 2 (base 10), most significant first;
// other kinds have no digits.
std::u16string letterDigits(unsigned long long magnitude, std::int32_t kind) {
    std::u16string_view digits;
    if (kind == 1)
        digits = kAlphabetDigits;
    else if (kind == 2)
        digits = kKanjiDigits;
    else
        return {};
    std::u16string out;
    do {
        out.insert(out.begin(), digits[magnitude % digits.size()]);
        magnitude /= digits.size();
    } while (magnitude > 0);
    return out;
}

unsigned long long magnitudeOf(long long value) {
    return value < 0 ? 0ull - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

// Leading "0"s up to `digits` + 1 characters, then the sign; 漢数字 writes the zeros as "〇".
std::u16string finishNumber(std::u16string number, bool negative, std::int32_t kind,
                            std::int32_t digits) {
    const std::size_t width = static_cast<std::size_t>(std::clamp(digits, 0, kMaxDigits)) + 1;
    if (number.size() < width)
        number.insert(0, width - number.size(), u'0');
    if (negative)
        number.insert(0, 1, u'-');
    if (kind == 2)
        std::replace(number.begin(), number.end(), u'0', u'〇');
    return number;
}

std::u16string withNumberPlaceholder(std::u16string_view pattern) {
    std::u16string out(pattern);
    if (out.find(u'*') == std::u16string::npos)
        out += u'*';
    return out;
}

}  // namespace

std::span<const IniField<NumberingSettings>> numberingSettingsFields() {
    return kFields;
}

std::u16string numberText(long long value, std::int32_t kind, std::int32_t digits) {
    const unsigned long long magnitude = magnitudeOf(value);
    std::u16string number =
        kind == 0 ? text::fromAscii(std::to_string(magnitude)) : letterDigits(magnitude, kind);
    return finishNumber(std::move(number), value < 0, kind, digits);
}

NumberingSample numberingSample(std::u16string_view pattern, const NumberingSettings& settings,
                                std::u16string_view previousStart) {
    NumberingSample out;
    out.digits = std::clamp(settings.digits, 0, kMaxDigits);
    out.start = settings.start;
    // 数字 shows the start number as typed, so that typing leading zeros widens the number.
    std::u16string number;
    bool negative = false;
    if (settings.kind == 0) {
        number = settings.start;
    } else {
        const long long value = text::leadingInt(settings.start);
        negative = value < 0;
        number = letterDigits(magnitudeOf(value), settings.kind);
    }
    if (number.size() > static_cast<std::size_t>(out.digits) + 1) {
        if (number.size() - 1 > static_cast<std::size_t>(kMaxDigits)) {
            out.message = errorMessage(u"桁数が設定範囲以上です");
            number.resize(kMaxDigits + 1);
            out.start = previousStart;
            out.digits = kMaxDigits;
        } else {
            out.digits = static_cast<std::int32_t>(number.size()) - 1;
        }
    }
    out.sample = withNumberPlaceholder(pattern);
    text::replaceAll(out.sample, u'*',
                     finishNumber(std::move(number), negative, settings.kind, out.digits));
    text::replaceAll(out.sample, u'\\', u"(FN)");
    return out;
}

NumberingPage::NumberingPage(AddTextPage& add)
    : pattern{std::u16string(kNumberingSection), u"変更名", u"Sample_*", {}, u"Sample_*"},
      add_(add) {
    applyDefaults(numberingSettingsFields(), settings);
}

void NumberingPage::readIni(const IniFile& ini) {
    readFields(ini, kNumberingSection, numberingSettingsFields(), settings);
}

void NumberingPage::writeIni(IniFile& ini) const {
    writeFields(ini, kNumberingSection, numberingSettingsFields(), settings);
}

std::optional<Message> NumberingPage::validate(RunContext&) {
    constexpr std::u16string_view kAllowed = u"-0123456789";
    if (settings.start.empty() || !text::consistsOf(settings.start, kAllowed))
        return errorMessage(u"開始番号が不正です。");
    if (settings.step.empty() || !text::consistsOf(settings.step, kAllowed))
        return errorMessage(u"増減値が不正です。");
    return std::nullopt;
}

std::u16string NumberingPage::transform(const ItemArgs& item, RunContext& run) {
    // 64-bit arithmetic: start + step x k never wraps around.
    const long long value = static_cast<long long>(text::leadingInt(settings.start)) +
                            static_cast<long long>(text::leadingInt(settings.step)) * item.k;
    std::u16string name = withNumberPlaceholder(pattern.text);
    text::replaceAll(name, u'*', numberText(value, settings.kind, settings.digits));
    // The folder's name goes in after the number, so that a "*" in it stays as it is.
    if (settings.mode == 1)
        return add_.insert(item.name, name, item.folder, run);
    text::replaceAll(name, u'\\', text::folderNameOf(item.folder));
    if (!run.env.folderMode)
        name += text::extensionOf(item.name);
    return name;
}

void NumberingPage::saveBlock(BlockWriter& out) const {
    saveWithAddTextPositions(kRecords, *this, add_, out);
}

bool NumberingPage::loadBlock(BlockReader& in) {
    return loadWithAddTextPositions(kRecords, *this, &NumberingSettings::mode, add_, in);
}

std::vector<HistoryBox*> NumberingPage::histories() {
    return {&pattern};
}

std::vector<NamedSetting> NumberingPage::namedSettings() {
    auto out = namedSettingsOf(numberingSettingsFields(), settings, {&pattern});
    // In add mode the number goes where the add-text page's position settings say, and a job
    // stores those with the numbering page's own.
    auto positions = add_.positionSettings();
    out.insert(out.end(), positions.begin(), positions.end());
    return out;
}

std::vector<TextSetting> NumberingPage::textSettings() {
    // "*" stands for the number, "\" for the folder's name.
    return {textSettingOf(pattern, text::ForbiddenSet::NoAsteriskNoBackslash)};
}

}  // namespace soramine
