#include "core/methods/date_in_name.h"

#include <algorithm>
#include <array>

#include "core/items/exif_reader.h"
#include "core/methods/add_text.h"
#include "core/methods/named_settings.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"追加", &DateSettings::addMode, 0),
    intField(u"時間", &DateSettings::source, 0),
};

// In add mode the add-text page's position records follow these.
constexpr auto kRecords = std::to_array<RecordField<DatePage>>({
    {1126, &DateSettings::addMode},
    {1117, &DateSettings::source},
    {1119, &DatePage::format},
});

constexpr std::size_t kLongestRun = 10;

// `value` in decimal, at least `width` digits.
std::u16string padded(int value, int width) {
    std::u16string digits = text::decimal(value < 0 ? -static_cast<long long>(value) : value);
    if (digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), u'0');
    return value < 0 ? u"-" + digits : digits;
}

}  // namespace

std::span<const IniField<DateSettings>> dateSettingsFields() {
    return kFields;
}

std::u16string formatDate(std::int64_t seconds, std::u16string_view format) {
    const auto local = platform::toLocalTime(platform::FileTime{seconds, 0});
    const platform::LocalTime t = local ? *local : platform::LocalTime{0, 0, 0, -1, -1, -1};
    const auto countOf = [&](char16_t letter) {
        return static_cast<std::size_t>(std::count(format.begin(), format.end(), letter));
    };
    std::u16string year = padded(t.year, 4);
    if (countOf(u'Y') < 3)
        year = year.substr(year.size() - std::min<std::size_t>(2, year.size()));
    const std::pair<char16_t, int> fields[] = {
        {u'M', t.month}, {u'D', t.day}, {u'h', t.hour}, {u'm', t.minute}, {u's', t.second}};
    std::u16string out(format);
    const auto replaceRun = [&](char16_t letter, std::size_t count, std::u16string_view by) {
        if (count > 0)
            text::replaceAll(out, std::u16string(std::min(count, kLongestRun), letter), by);
    };
    replaceRun(u'Y', countOf(u'Y'), year);
    for (const auto& [letter, value] : fields) {
        const std::size_t count = countOf(letter);
        replaceRun(letter, count, padded(value, count >= 2 ? 2 : 1));
    }
    return out;
}

std::u16string dateSample(std::u16string_view format, bool picked) {
    std::u16string shown(format);
    text::replaceAll(shown, u'\\', picked ? u"[フォルダ名]" : u"[FN]");
    const auto moment = platform::fromLocalTime({2010, 1, 23, 4, 56, 0});
    return formatDate(moment ? moment->seconds : 0, shown);
}

DatePage::DatePage(AddTextPage& add)
    : format{std::u16string(kDateSection),
             u"形式",
             u"YYYY年MM月DD日、hh時mm分ss秒",
             {},
             u"YYYY年MM月DD日、hh時mm分ss秒"},
      add_(add) {
    applyDefaults(dateSettingsFields(), settings);
}

void DatePage::readIni(const IniFile& ini) {
    readFields(ini, kDateSection, dateSettingsFields(), settings);
}

void DatePage::writeIni(IniFile& ini) const {
    writeFields(ini, kDateSection, dateSettingsFields(), settings);
}

std::optional<Message> DatePage::validate(RunContext&) {
    return std::nullopt;
}

std::optional<std::int64_t> DatePage::timeOf(const ItemArgs& item, RunContext& run) const {
    const std::u16string path = std::u16string(item.folder) + std::u16string(item.name);
    const auto logLine = [&](std::u16string_view message) {
        run.log.appendLog(std::u16string(message) + u" - " + path + u"\r\n");
    };
    if (settings.source == 2) {
        const auto date = ExifReader::readFile(path);
        if (!date) {
            logLine(platform::isNotFound(date.error()) ? u"ファイルが見つかりません"
                                                       : u"ファイルが開けません");
            return std::nullopt;
        }
        if (!*date)
            logLine(u"Exif情報の撮影日時がありません");
        return *date;
    }
    const auto entry = platform::lookUp(path);
    if (!entry) {
        logLine(u"ファイルが見つかりません");
        return std::nullopt;
    }
    const auto& time = settings.source == 0 ? entry->created : entry->modified;
    if (!time) {
        // A file system that keeps no creation time.
        logLine(u"作成日時を取得できません");
        return std::nullopt;
    }
    return time->seconds;
}

std::u16string DatePage::transform(const ItemArgs& item, RunContext& run) {
    const auto time = timeOf(item, run);
    if (!time)
        return std::u16string(item.name);
    std::u16string date = formatDate(*time, format.text);
    if (settings.addMode == 1)
        return date.empty() ? std::u16string(item.name)
                            : add_.insert(item.name, date, item.folder, run);
    // The folder's name goes into the date text only, so that a "\" that is part of an old
    // name (possible outside Windows) stays as it is.
    text::replaceAll(date, u'\\', text::folderNameOf(item.folder));
    const std::u16string_view extension = text::extensionOf(item.name);
    if (!run.env.folderMode && extension.size() < item.name.size())
        date += extension;
    return date;
}

void DatePage::saveBlock(BlockWriter& out) const {
    saveWithAddTextPositions(kRecords, *this, add_, out);
}

bool DatePage::loadBlock(BlockReader& in) {
    return loadWithAddTextPositions(kRecords, *this, &DateSettings::addMode, add_, in);
}

std::vector<HistoryBox*> DatePage::histories() {
    return {&format};
}

std::vector<NamedSetting> DatePage::namedSettings() {
    auto out = namedSettingsOf(dateSettingsFields(), settings, {&format});
    auto positions = add_.positionSettings();
    out.insert(out.end(), positions.begin(), positions.end());
    return out;
}

std::vector<TextSetting> DatePage::textSettings() {
    // "\" stands for the folder's name.
    return {textSettingOf(format, text::ForbiddenSet::NoBackslash)};
}

}  // namespace soramine
