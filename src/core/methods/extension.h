#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

// The extension page's INI key, section "拡張子".
struct ExtensionSettings {
    std::int32_t mode;  // "選択": 0 a new extension, 1 lower case, 2 upper case
};

inline constexpr std::u16string_view kExtensionSection = u"拡張子";
std::span<const IniField<ExtensionSettings>> extensionSettingsFields();

// Gives each name a new extension (the part after its last "."), or converts the letter case
// of the one it has.
class ExtensionPage final : public MethodPage {
  public:
    ExtensionPage();

    ExtensionSettings settings;
    HistoryBox newExtension;  // "変更後"

    std::u16string_view comboText() const override { return u"拡張子"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    std::vector<TextSetting> textSettings() override;
};

}  // namespace soramine
