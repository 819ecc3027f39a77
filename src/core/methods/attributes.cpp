#include "core/methods/attributes.h"

#include <array>

#include "core/fileops/attributes.h"
#include "core/methods/named_settings.h"
#include "core/settings/records.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"読み取り専用", &AttributeSettings::readOnly, 0),
    intField(u"隠しファイル", &AttributeSettings::hidden, 0),
    intField(u"圧縮", &AttributeSettings::compressed, 0),
};

constexpr auto kRecords = std::to_array<RecordField<AttributePage>>({
    {1206, &AttributeSettings::readOnly},
    {1207, &AttributeSettings::hidden},
    {1208, &AttributeSettings::compressed},
});

}  // namespace

std::span<const IniField<AttributeSettings>> attributeSettingsFields() {
    return kFields;
}

AttributePage::AttributePage() {
    applyDefaults(attributeSettingsFields(), settings);
}

void AttributePage::readIni(const IniFile& ini) {
    readFields(ini, kAttributeSection, attributeSettingsFields(), settings);
}

void AttributePage::writeIni(IniFile& ini) const {
    writeFields(ini, kAttributeSection, attributeSettingsFields(), settings);
}

std::optional<Message> AttributePage::validate(RunContext&) {
    return std::nullopt;
}

std::u16string AttributePage::transform(const ItemArgs& item, RunContext&) {
    return std::u16string(item.name);
}

void AttributePage::apply(const ItemArgs& item, RunContext& run) {
    const std::u16string path = std::u16string(item.folder) + std::u16string(item.name);
    const fileops::WantedAttributes wanted{settings.readOnly != 0, settings.hidden != 0,
                                           settings.compressed != 0};
    if (fileops::setItemAttributes(path, wanted, run.env.folderMode)) {
        ++run.processedCount;
        return;
    }
    run.log.appendLog(u"書き換えエラー - " + path + u"\r\n");
    ++run.failures;
}

void AttributePage::saveBlock(BlockWriter& out) const {
    saveRecords(kRecords, *this, out);
}

bool AttributePage::loadBlock(BlockReader& in) {
    return loadRecords(kRecords, *this, in);
}

std::vector<NamedSetting> AttributePage::namedSettings() {
    return namedSettingsOf(attributeSettingsFields(), settings, {});
}

}  // namespace soramine
