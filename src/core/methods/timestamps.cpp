#include "core/methods/timestamps.h"

#include <array>

#include "core/fileops/file_times.h"
#include "core/items/item_text.h"
#include "core/methods/named_settings.h"
#include "core/platform/clock.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"作成日時", &TimestampSettings::setCreated, 1),
    intField(u"更新日時", &TimestampSettings::setModified, 1),
    intField(u"増減", &TimestampSettings::useStep, 0),
    textField(u"数値", &TimestampSettings::step, u"1"),
};

constexpr auto kRecords = std::to_array<RecordField<TimestampPage>>({
    {1088, &TimestampSettings::setCreated},
    {1045, &TimestampSettings::createdDate},
    {1046, &TimestampSettings::createdTime},
    {1089, &TimestampSettings::setModified},
    {1047, &TimestampSettings::modifiedDate},
    {1048, &TimestampSettings::modifiedTime},
    {1090, &TimestampSettings::useStep},
    {1091, &TimestampSettings::step, Record::kNumber},
});

}  // namespace

std::span<const IniField<TimestampSettings>> timestampSettingsFields() {
    return kFields;
}

std::optional<std::int64_t> combinedMoment(std::int64_t date, std::int64_t time) {
    const auto day = platform::toLocalTime({date, 0});
    const auto clock = platform::toLocalTime({time, 0});
    if (!day || !clock)
        return std::nullopt;
    const auto moment = platform::fromLocalTime(
        {day->year, day->month, day->day, clock->hour, clock->minute, clock->second});
    if (!moment)
        return std::nullopt;
    return moment->seconds;
}

TimestampPage::TimestampPage() {
    applyDefaults(timestampSettingsFields(), settings);
    const std::int64_t now = platform::now().seconds;
    settings.createdDate = settings.createdTime = now;
    settings.modifiedDate = settings.modifiedTime = now;
}

bool TimestampPage::canSetCreated() {
    return platform::canSetCreationTime();
}

void TimestampPage::readIni(const IniFile& ini) {
    readFields(ini, kTimestampSection, timestampSettingsFields(), settings);
}

void TimestampPage::writeIni(IniFile& ini) const {
    writeFields(ini, kTimestampSection, timestampSettingsFields(), settings);
}

std::optional<Message> TimestampPage::validate(RunContext&) {
    if (!setsCreated() && settings.setModified == 0)
        return errorMessage(u"変更する項目を選択してください");
    if (settings.useStep &&
        (settings.step.empty() || !text::consistsOf(settings.step, u"-0123456789")))
        return errorMessage(u"増減値が不正です。");
    return std::nullopt;
}

std::u16string TimestampPage::transform(const ItemArgs& item, RunContext&) {
    return std::u16string(item.name);
}

void TimestampPage::apply(const ItemArgs& item, RunContext& run) {
    const std::u16string path = std::u16string(item.folder) + std::u16string(item.name);
    // A folder that cannot be reached is passed over silently and uses no step.
    if (run.env.folderMode && !platform::lookUp(path))
        return;
    const auto shifted = [&](std::int64_t date,
                             std::int64_t time) -> std::optional<platform::FileTime> {
        const auto base = combinedMoment(date, time);
        if (!base)
            return std::nullopt;
        return platform::FileTime{*base + run.timeStepOffset, 0};
    };
    const auto created =
        setsCreated() ? shifted(settings.createdDate, settings.createdTime) : std::nullopt;
    const auto modified =
        settings.setModified ? shifted(settings.modifiedDate, settings.modifiedTime) : std::nullopt;
    // Every item uses its step, also one whose times cannot be set.
    if (settings.useStep)
        run.timeStepOffset += text::leadingInt(settings.step);

    const fileops::TimesOutcome outcome =
        (setsCreated() && !created) || (settings.setModified && !modified)
            ? fileops::TimesOutcome::kFailed
            : fileops::setItemTimes(path, created, modified);
    if (outcome != fileops::TimesOutcome::kSet) {
        if (run.env.folderMode)
            return;
        run.log.appendLog(std::u16string(outcome == fileops::TimesOutcome::kAccessDenied
                                             ? u"書き換え禁止で変更できません - "
                                             : u"書き換えエラー - ") +
                          path + u"\r\n");
        ++run.failures;
        return;
    }
    const auto row = static_cast<std::size_t>(item.row);
    if (created)
        run.cellChanges.push_back({row, ItemTable::kCreated, dateText(created)});
    if (modified)
        run.cellChanges.push_back({row, ItemTable::kModified, dateText(modified)});
    ++run.processedCount;
}

void TimestampPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool TimestampPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<NamedSetting> TimestampPage::namedSettings() {
    return namedSettingsOf(timestampSettingsFields(), settings, {});
}

}  // namespace soramine
