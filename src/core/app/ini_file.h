#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace soramine {

// The INI settings file ("ソラミネ.ini"), in the format of the Windows profile functions:
// "[section]" lines, then "key=value" lines. Section and key names match without regard to
// ASCII letter case. Nothing is cached: every read reads the file and every write rewrites it
// (atomically, through a temporary file). A missing, unreadable or damaged file yields the
// defaults, and a failed write is ignored, as the profile functions do.
//
// A new file is written in UTF-8; an existing file keeps its encoding (UTF-8, UTF-16LE with
// a byte-order mark, or code page 932).
class IniFile {
  public:
    explicit IniFile(std::u16string path);

    const std::u16string& path() const { return path_; }

    // A decimal integer (optional sign, leading digits); `def` when the key is missing or its
    // value starts with no number.
    std::int32_t readInt(std::u16string_view section, std::u16string_view key,
                         std::int32_t def) const;
    // The value with surrounding white space and one pair of surrounding quotes removed.
    std::u16string readString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view def) const;
    // Bytes written by writeBinary; nothing when the key is missing or is not such a value.
    std::optional<std::vector<std::uint8_t>> readBinary(std::u16string_view section,
                                                        std::u16string_view key) const;

    void writeInt(std::u16string_view section, std::u16string_view key, std::int32_t value);
    // A null value (std::nullopt) deletes the key.
    void writeString(std::u16string_view section, std::u16string_view key,
                     std::optional<std::u16string_view> value);
    void deleteKey(std::u16string_view section, std::u16string_view key);
    // Each byte becomes two capital letters: "A" + low 4 bits, then "A" + high 4 bits.
    void writeBinary(std::u16string_view section, std::u16string_view key,
                     std::span<const std::uint8_t> bytes);

  private:
    std::u16string path_;
};

// The INI file of this user: settingsFolder() + "ソラミネ.ini".
IniFile defaultIniFile();

}  // namespace soramine
