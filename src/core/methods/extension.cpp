#include "core/methods/extension.h"

#include <array>

#include "core/engine/error_log.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"選択", &ExtensionSettings::mode, 0),
};

constexpr auto kRecords = std::to_array<RecordField<ExtensionPage>>({
    {1083, &ExtensionSettings::mode},
    {1086, &ExtensionPage::newExtension},
});

}  // namespace

std::span<const IniField<ExtensionSettings>> extensionSettingsFields() {
    return kFields;
}

ExtensionPage::ExtensionPage()
    : newExtension{std::u16string(kExtensionSection), u"変更後", u"After", {}, u"After"} {
    applyDefaults(extensionSettingsFields(), settings);
}

void ExtensionPage::readIni(const IniFile& ini) {
    readFields(ini, kExtensionSection, extensionSettingsFields(), settings);
}

void ExtensionPage::writeIni(IniFile& ini) const {
    writeFields(ini, kExtensionSection, extensionSettingsFields(), settings);
}

std::optional<Message> ExtensionPage::validate(RunContext&) {
    return std::nullopt;
}

std::u16string ExtensionPage::transform(const ItemArgs& item, RunContext& run) {
    std::u16string name(item.name);
    // Folder mode does not matter here: a folder named a.b has the extension b.
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string::npos) {
        if (settings.mode == 0)
            return name + u"." + newExtension.text;
        if (settings.mode == 1 || settings.mode == 2)
            run.log.appendLog(u"拡張子がありません - " + name + u"\r\n");
        return name;
    }
    std::u16string tail = name.substr(dot + 1);
    name.resize(dot + 1);
    switch (settings.mode) {
        case 0: {
            const std::u16string_view typed = newExtension.text;
            const std::size_t start = typed.find_first_not_of(u'.');
            tail = start == std::u16string_view::npos ? u"" : typed.substr(start);
            break;
        }
        case 1:
            text::lowerAsciiInPlace(tail);
            break;
        case 2:
            text::upperAsciiInPlace(tail);
            break;
    }
    return name + tail;
}

void ExtensionPage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool ExtensionPage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<HistoryBox*> ExtensionPage::histories() {
    return {&newExtension};
}

std::vector<NamedSetting> ExtensionPage::namedSettings() {
    return namedSettingsOf(extensionSettingsFields(), settings, {&newExtension});
}

std::vector<TextSetting> ExtensionPage::textSettings() {
    return {textSettingOf(newExtension, text::ForbiddenSet::All)};
}

}  // namespace soramine
