#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"

namespace soramine {

// The attribute page's INI keys, section "属性".
struct AttributeSettings {
    std::int32_t readOnly;    // "読み取り専用"
    std::int32_t hidden;      // "隠しファイル"
    std::int32_t compressed;  // "圧縮"
};

inline constexpr std::u16string_view kAttributeSection = u"属性";
std::span<const IniField<AttributeSettings>> attributeSettingsFields();

// Sets read-only, hidden and compression of every item, each on or off (fileops/attributes.h
// says what they mean here). It changes files, not names: the work is done in apply(), which
// only an execution calls, and it cannot be undone.
class AttributePage final : public MethodPage {
  public:
    AttributePage();

    AttributeSettings settings;

    std::u16string_view comboText() const override { return u"属性"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void apply(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<NamedSetting> namedSettings() override;
};

}  // namespace soramine
