#include "core/methods/add_text.h"

#include <algorithm>
#include <array>

#include "core/engine/error_log.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"追加位置", &AddTextSettings::where, 0),
    intField(u"拡張子の", &AddTextSettings::afterExtension, 0),
    intField(u"先頭から", &AddTextSettings::fromTail, 0),
    textField(u"文字目", &AddTextSettings::offset, u"1"),
};

// The text record, then the four position records.
constexpr auto kRecords = std::to_array<RecordField<AddTextPage>>({
    {1037, &AddTextPage::addText},
    {1038, &AddTextSettings::where},
    {1039, &AddTextSettings::afterExtension},
    {1029, &AddTextSettings::fromTail},
    {1040, &AddTextSettings::offset, Record::kNumber},
});

}  // namespace

std::span<const IniField<AddTextSettings>> addTextSettingsFields() {
    return kFields;
}

std::span<const RecordField<AddTextPage>> addTextPositionRecords() {
    return std::span(kRecords).subspan(1);
}

AddTextPage::AddTextPage() : addText{std::u16string(kAddTextSection), u"文字", u"add", {}, u"add"} {
    applyDefaults(addTextSettingsFields(), settings);
}

std::u16string AddTextPage::insert(std::u16string_view name, std::u16string_view insertText,
                                   std::u16string_view folder, RunContext& run) const {
    // The folder's name goes into the inserted text only: a "\" that is part of the old name
    // (possible outside Windows) stays as it is.
    std::u16string added(insertText.empty() ? std::u16string_view(addText.text) : insertText);
    text::replaceAll(added, u'\\', text::folderNameOf(folder));

    std::u16string out(name);
    switch (settings.where) {
        case 0:
            return added + out;
        case 1: {
            const std::size_t dot = out.rfind(u'.');
            if (settings.afterExtension == 0 && dot != std::u16string::npos && !run.env.folderMode)
                out.insert(dot, added);
            else
                out += added;
            return out;
        }
        case 2: {
            const long long n = text::leadingInt(settings.offset);
            const long long at = settings.fromTail ? static_cast<long long>(out.size()) - n : n;
            if (at < 0) {
                run.log.appendLog(u"追加位置が不正です - " + out + u"\r\n");
                return out;
            }
            out.insert(std::min(static_cast<std::size_t>(at), out.size()), added);
            return out;
        }
    }
    return out;
}

void AddTextPage::readIni(const IniFile& ini) {
    readFields(ini, kAddTextSection, addTextSettingsFields(), settings);
}

void AddTextPage::writeIni(IniFile& ini) const {
    writeFields(ini, kAddTextSection, addTextSettingsFields(), settings);
}

std::optional<Message> AddTextPage::validate(RunContext&) {
    if (settings.where == 2 &&
        (settings.offset.empty() || !text::consistsOf(settings.offset, u"0123456789")))
        return errorMessage(u"位置指定の文字数が不正です。");
    return std::nullopt;
}

std::u16string AddTextPage::transform(const ItemArgs& item, RunContext& run) {
    return insert(item.name, {}, item.folder, run);
}

void AddTextPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool AddTextPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<HistoryBox*> AddTextPage::histories() {
    return {&addText};
}

std::vector<NamedSetting> AddTextPage::namedSettings() {
    return namedSettingsOf(addTextSettingsFields(), settings, {&addText});
}

std::vector<TextSetting> AddTextPage::textSettings() {
    // "\" stands for the folder's name.
    return {textSettingOf(addText, text::ForbiddenSet::NoBackslash)};
}

std::vector<NamedSetting> AddTextPage::positionSettings() {
    return namedSettingsOf(addTextSettingsFields(), settings, {});
}

}  // namespace soramine
