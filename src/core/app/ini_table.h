#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/app/ini_file.h"

namespace soramine {

// One INI key of a settings struct: its name, the member it fills and its default. A
// section's keys are one table of these that reading and writing both walk, so no key is
// spelled twice.
template <class Settings>
struct IniField {
    std::u16string_view key;
    std::int32_t Settings::*number = nullptr;  // an integer key ...
    std::u16string Settings::*text = nullptr;  // ... or a text key
    std::int32_t numberDefault = 0;
    std::u16string_view textDefault = {};
};

template <class Settings>
constexpr IniField<Settings> intField(std::u16string_view key, std::int32_t Settings::*m,
                                      std::int32_t def) {
    return {key, m, nullptr, def, {}};
}
template <class Settings>
constexpr IniField<Settings> textField(std::u16string_view key, std::u16string Settings::*m,
                                       std::u16string_view def) {
    return {key, nullptr, m, 0, def};
}

template <class Settings>
void applyDefaults(std::span<const IniField<Settings>> fields, Settings& s) {
    for (const auto& f : fields) {
        if (f.number)
            s.*f.number = f.numberDefault;
        if (f.text)
            s.*f.text = std::u16string(f.textDefault);
    }
}

template <class Settings>
void readFields(const IniFile& ini, std::u16string_view section,
                std::span<const IniField<Settings>> fields, Settings& s) {
    for (const auto& f : fields) {
        if (f.number)
            s.*f.number = ini.readInt(section, f.key, f.numberDefault);
        if (f.text)
            s.*f.text = ini.readString(section, f.key, f.textDefault);
    }
}

template <class Settings>
void writeFields(IniFile& ini, std::u16string_view section,
                 std::span<const IniField<Settings>> fields, const Settings& s) {
    IniFile::Batch batch(ini);
    for (const auto& f : fields) {
        if (f.number)
            ini.writeInt(section, f.key, s.*f.number);
        if (f.text)
            ini.writeString(section, f.key, std::u16string_view(s.*f.text));
    }
}

}  // namespace soramine
