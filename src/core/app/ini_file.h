#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace soramine {

// The text of an INI file held in memory: its lines, and the encoding they were read in and
// are written back in. IniFile reads and rewrites the file through it; it never touches the
// disk itself, so it also serves to check any bytes as an INI file.
class IniDocument {
  public:
    enum class Encoding { kUtf8, kUtf8Bom, kUtf16Le, kCp932 };

    IniDocument() = default;
    // Never fails: UTF-16LE with a byte-order mark, UTF-8 (with or without one), and any
    // other bytes as code page 932. Lines end in LF or CRLF.
    static IniDocument parse(std::string_view bytes);
    // The lines, each ending in CRLF, in the document's encoding. A code page 932 document
    // holding a character that code page cannot hold is written in UTF-8 instead, so that
    // nothing is lost.
    std::string serialize() const;
    Encoding encoding() const { return encoding_; }

    // The raw value of the first matching key of the first matching section, with
    // surrounding white space and one pair of surrounding quotes removed.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;
    std::int32_t readInt(std::u16string_view section, std::u16string_view key,
                         std::int32_t def) const;
    std::optional<std::vector<std::uint8_t>> readBinary(std::u16string_view section,
                                                        std::u16string_view key) const;
    // Replaces the key's line in place, or adds it after the last key of its section, or
    // adds the section at the end; a null value deletes the key. A value that would not read
    // back as written (surrounding white space or quotes) is written inside quotes; line
    // breaks, which would end the line early, are left out. Returns whether anything changed.
    bool write(std::u16string_view section, std::u16string_view key,
               std::optional<std::u16string_view> value);

  private:
    std::vector<std::u16string> lines_;
    Encoding encoding_ = Encoding::kUtf8;
};

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
    IniDocument load() const;
    void change(std::u16string_view section, std::u16string_view key,
                std::optional<std::u16string_view> value);

    std::u16string path_;
};

// The INI file of this user: settingsFolder() + "ソラミネ.ini".
IniFile defaultIniFile();

}  // namespace soramine
