#pragma once

#include <initializer_list>
#include <span>
#include <vector>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

// A page's settings by name: every INI key of its table, then its history boxes by their
// history names.
template <class Settings>
std::vector<NamedSetting> namedSettingsOf(std::span<const IniField<Settings>> fields,
                                          Settings& settings,
                                          std::initializer_list<HistoryBox*> boxes) {
    std::vector<NamedSetting> out;
    for (const auto& f : fields)
        out.push_back({f.key, f.number ? &(settings.*f.number) : nullptr,
                       f.text ? &(settings.*f.text) : nullptr});
    for (HistoryBox* box : boxes)
        out.push_back({box->prefix, nullptr, &box->text});
    return out;
}

// A history box as a text setting, named like namedSettingsOf names it.
inline TextSetting textSettingOf(HistoryBox& box, text::ForbiddenSet forbidden) {
    return {box.prefix, &box.text, forbidden};
}

}  // namespace soramine
