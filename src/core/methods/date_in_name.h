#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

class AddTextPage;

// The date page's INI keys, section "日時".
struct DateSettings {
    std::int32_t addMode;  // "追加": 0 the date text is the name, 1 insert it (add-text page)
    std::int32_t source;   // "時間": 0 creation time, 1 last-write time, 2 Exif shooting date
};

inline constexpr std::u16string_view kDateSection = u"日時";
std::span<const IniField<DateSettings>> dateSettingsFields();

// Writes the moment `seconds` (since 1970, shown in local time) through `format`: each run of
// exactly as many "Y" as the format holds (at most ten) becomes the year, likewise "M" the
// month, "D" the day, "h" the hour, "m" the minute and "s" the second. Fewer than three "Y"
// give the year's last two digits; a letter that occurs twice or more gives two digits.
std::u16string formatDate(std::int64_t seconds, std::u16string_view format);

// The page's sample line: the format, its "\" shown as "[FN]" while it is typed or as
// "[フォルダ名]" when it was picked from the list, written for 2010-01-23 04:56:00.
std::u16string dateSample(std::u16string_view format, bool picked);

// Names each item after a time of its file (creation, last write or Exif shooting date),
// written through a format; the date replaces the name before its extension or, in add mode,
// is inserted where the add-text page's position settings say. A "\" in the format stands
// for the item's folder name.
class DatePage final : public MethodPage {
  public:
    explicit DatePage(AddTextPage& add);

    DateSettings settings;
    HistoryBox format;  // "形式"

    std::u16string_view comboText() const override { return u"日時"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    bool usesAddText() const override { return settings.addMode == 1; }
    std::vector<TextSetting> textSettings() override;

  private:
    // The item's time by settings.source; nothing after a logged problem.
    std::optional<std::int64_t> timeOf(const ItemArgs& item, RunContext& run) const;

    AddTextPage& add_;
};

}  // namespace soramine
