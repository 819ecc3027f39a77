#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/platform/fs.h"

namespace soramine {

// The timestamp page's INI keys, section "タイム", and its four pickers, which the INI file does
// not keep (they start at the current date and time; a saved-settings file keeps them).
struct TimestampSettings {
    std::int32_t setCreated;   // "作成日時"
    std::int32_t setModified;  // "更新日時"
    std::int32_t useStep;      // "増減": add a step per item
    std::u16string step;       // "数値": seconds per item, as typed (may be negative)
    // Pickers, in seconds since 1970: the date of one and the time of day of the other make a
    // base time, read as local time.
    std::int64_t createdDate = 0, createdTime = 0;
    std::int64_t modifiedDate = 0, modifiedTime = 0;
};

inline constexpr std::u16string_view kTimestampSection = u"タイム";
std::span<const IniField<TimestampSettings>> timestampSettingsFields();

// The moment of the date of `date` and the time of day of `time`, both shown in local time;
// nothing when they name no moment.
std::optional<std::int64_t> combinedMoment(std::int64_t date, std::int64_t time);

// Sets each item's last-write time (and its creation time where the system can) to a chosen
// moment, plus a step per item. It changes files, not names: the work is done in apply(),
// which only an execution calls.
class TimestampPage final : public MethodPage {
  public:
    TimestampPage();

    TimestampSettings settings;

    // Whether the creation time can be set here; where it cannot, "作成日時" is kept as stored
    // but has no effect.
    static bool canSetCreated();

    std::u16string_view comboText() const override { return u"タイムスタンプ"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void apply(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<NamedSetting> namedSettings() override;

  private:
    bool setsCreated() const { return settings.setCreated != 0 && canSetCreated(); }
};

}  // namespace soramine
