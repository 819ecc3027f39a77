#include "core/methods/delete_extract.h"

#include <algorithm>
#include <array>

#include "core/base/expected.h"
#include "core/engine/error_log.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"方式", &DeleteExtractSettings::mode, 0),
    textField(u"文字数", &DeleteExtractSettings::count, u"1"),
    intField(u"拡張子", &DeleteExtractSettings::ignoreExtension, 1),
    intField(u"削除位置", &DeleteExtractSettings::where, 0),
    intField(u"先頭から", &DeleteExtractSettings::fromTail, 0),
    textField(u"指定位置", &DeleteExtractSettings::position, u"1"),
    intField(u"前方", &DeleteExtractSettings::after, 0),
};

constexpr auto kRecords = std::to_array<RecordField<DeleteExtractPage>>({
    {1186, &DeleteExtractSettings::mode},
    {1060, &DeleteExtractSettings::count, Record::kNumber},
    {1087, &DeleteExtractSettings::ignoreExtension},
    {1054, &DeleteExtractSettings::where},
    {1061, &DeleteExtractSettings::fromTail},
    {1063, &DeleteExtractSettings::position, Record::kNumber},
    {1238, &DeleteExtractSettings::givenText},
    {1239, &DeleteExtractSettings::after},
});

constexpr std::u16string_view kGivenTextKey = u"指定文字";
constexpr std::u16string_view kDigits = u"0123456789";

// The part of a work text that a run keeps, or the message (before " - ") of why the item
// keeps its name.
using Selection = Expected<std::u16string, std::u16string>;

Selection badStart(bool extract) {
    return Unexpected{
        std::u16string(extract ? u"抽出開始位置が不正です" : u"削除開始位置が不正です")};
}

// N characters from a position: delete counts it from 1 (the P-th character goes first),
// extract from 0 (extraction starts after the P-th character); from the tail both count the
// P-th character from the end.
Selection atPosition(std::u16string work, long long n, bool extract,
                     const DeleteExtractSettings& s) {
    const long long length = static_cast<long long>(work.size());
    const long long p = text::leadingInt(s.position);
    const long long start = s.fromTail ? length - p : extract ? p : p - 1;
    if (extract) {
        if (start + n >= length && p < length)
            return work.substr(static_cast<std::size_t>(start));
        if (start + n <= length && start >= 0)
            return work.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
        return badStart(true);
    }
    if (start + n > length && p < length) {
        // Everything from the start on goes; a start before the head leaves nothing.
        work.resize(static_cast<std::size_t>(std::max(start, 0LL)));
        return work;
    }
    if (start + n > length || start < 0)
        return badStart(false);
    work.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
    return work;
}

// N characters just before or just after the first occurrence of the given text (an empty
// text is found at the head).
Selection besideText(std::u16string work, std::size_t n, bool extract,
                     const DeleteExtractSettings& s) {
    const std::size_t found = work.find(s.givenText);
    if (found == std::u16string::npos)
        return Unexpected{std::u16string(u"指定の文字が見つかりません")};
    if (s.after == 0) {
        const std::size_t before = std::min(found, n);
        if (!extract)
            return work.erase(found - before, before);
        if (found == 0)
            return badStart(true);
        return work.substr(found - before, before);
    }
    const std::size_t after = found + s.givenText.size();
    if (!extract)
        return work.erase(after, n);
    if (after >= work.size())
        return badStart(true);
    return work.substr(after, n);
}

Selection select(std::u16string work, long long n, bool extract, const DeleteExtractSettings& s) {
    // N is at most the work text's length here, except for a position (checked there).
    const std::size_t count = static_cast<std::size_t>(std::max(n, 0LL));
    switch (s.where) {
        case 0:
            return extract ? work.substr(0, count) : work.substr(count);
        case 1:
            return extract ? work.substr(work.size() - count) : work.substr(0, work.size() - count);
        case 2:
            return atPosition(std::move(work), n, extract, s);
        case 3:
            return besideText(std::move(work), count, extract, s);
    }
    return work;  // a position no button stands for (a damaged INI) changes nothing
}

}  // namespace

std::span<const IniField<DeleteExtractSettings>> deleteExtractSettingsFields() {
    return kFields;
}

DeleteExtractPage::DeleteExtractPage() {
    applyDefaults(deleteExtractSettingsFields(), settings);
    settings.givenText = u"@";
}

std::u16string_view DeleteExtractPage::modeWord() const {
    return settings.mode == 1 ? u"抽出" : u"削除";
}

void DeleteExtractPage::readIni(const IniFile& ini) {
    readFields(ini, kDeleteExtractSection, deleteExtractSettingsFields(), settings);
}

void DeleteExtractPage::writeIni(IniFile& ini) const {
    writeFields(ini, kDeleteExtractSection, deleteExtractSettingsFields(), settings);
}

std::optional<Message> DeleteExtractPage::validate(RunContext&) {
    if (settings.count.empty() || !text::consistsOf(settings.count, kDigits))
        return errorMessage(std::u16string(modeWord()) + u"文字数が不正です。");
    if (settings.where == 2 &&
        (settings.position.empty() || !text::consistsOf(settings.position, kDigits)))
        return errorMessage(u"位置指定の文字数が不正です。");
    return std::nullopt;
}

std::u16string DeleteExtractPage::transform(const ItemArgs& item, RunContext& run) {
    const std::u16string_view name = item.name;
    const std::size_t stem = settings.ignoreExtension && !run.env.folderMode
                                 ? name.size() - text::extensionAfterStem(name).size()
                                 : name.size();
    const long long n = text::leadingInt(settings.count);
    Selection kept =
        n > static_cast<long long>(stem) && settings.where != 2
            ? Selection(Unexpected{std::u16string(modeWord()) + u"文字数が多すぎます"})
            : select(std::u16string(name.substr(0, stem)), n, settings.mode == 1, settings);
    if (!kept) {
        run.log.appendLog(kept.error() + u" - " + std::u16string(name) + u"\r\n");
        return std::u16string(name);
    }
    return std::move(*kept) + std::u16string(name.substr(stem));
}

void DeleteExtractPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool DeleteExtractPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<NamedSetting> DeleteExtractPage::namedSettings() {
    auto out = namedSettingsOf(deleteExtractSettingsFields(), settings, {});
    out.push_back({kGivenTextKey, nullptr, &settings.givenText});
    return out;
}

std::vector<StoredText> DeleteExtractPage::storedTexts() {
    return {{kGivenTextKey, &settings.givenText}};
}

}  // namespace soramine
