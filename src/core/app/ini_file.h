#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/platform/fs.h"

namespace soramine {

// The text of an INI file held in memory: its lines, and the encoding they were read in and
// are written back in. IniFile reads and rewrites the file through it; it never touches the
// disk itself, so it also serves to check any bytes as an INI file.
//
// Every line keeps the bytes it was read as, so that a line the program does not change is
// written back exactly as it was: its line end, and bytes that no encoding decodes (which
// read as "・"), included.
class IniDocument {
  public:
    enum class Encoding { kUtf8, kUtf8Bom, kUtf16Le, kCp932 };

    IniDocument() = default;
    // Never fails: UTF-16LE with a byte-order mark, UTF-8 (with or without one), and any
    // other bytes as code page 932. Lines end in LF or CRLF.
    static IniDocument parse(std::string_view bytes);
    // The lines the program did not change as read (an odd last byte of a UTF-16 file too),
    // changed and new lines in the document's encoding, ending like the line they replace or
    // like the document's first line. A code page 932 document given a character that code
    // page cannot hold is written in UTF-8 instead when every line read converts without
    // loss; otherwise that character becomes the code page's replacement character.
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
    struct Line {
        std::u16string text;  // without its line end
        std::u16string end;   // u"\r\n", u"\n", or empty for a last line without one
        std::string stored;   // the bytes read, line end included; empty once changed
    };
    // Where the first section of each name starts and ends, and its keys' lines, by names in
    // capital letters: a 10 MB file answers each key at once instead of by a scan.
    struct Section {
        std::size_t header = 0;
        std::size_t end = 0;  // the next section's header, or the end of the file
        std::unordered_map<std::u16string, std::size_t> keys;
    };
    using Index = std::unordered_map<std::u16string, Section>;

    const Index& index() const;
    const Section* findSection(std::u16string_view section) const;
    std::size_t findKey(std::u16string_view section, std::u16string_view key) const;
    std::string encode(std::u16string_view text, Encoding encoding) const;
    bool convertsToUtf8() const;

    std::vector<Line> lines_;
    std::u16string lineEnd_ = u"\r\n";  // for new lines: the end of the first line read
    std::string tail_;                  // an odd last byte of a UTF-16 file
    Encoding encoding_ = Encoding::kUtf8;
    mutable std::optional<Index> index_;  // built at the first look-up after a change
};

// The INI settings file ("ソラミネ.ini"), in the format of the Windows profile functions:
// "[section]" lines, then "key=value" lines. Section and key names match without regard to
// ASCII letter case. A missing, unreadable or damaged file yields the defaults, and a failed
// write is ignored, as the profile functions do. A file that another user could have planted
// or changed (see platform::isTrustedFile) is neither read nor written.
//
// Every read sees the file as it is on the disk: the parsed file is kept between reads only
// while the file's stamp (inode, size, times) stays the same, so a change by another process
// is seen at the next read, and a large file is parsed once rather than once per key. Every
// write rewrites the file atomically (through a temporary file), except within a Batch. Not
// for use from two threads at once.
//
// A new file is written in UTF-8; an existing file keeps its encoding (UTF-8, UTF-16LE with
// a byte-order mark, or code page 932). A file that is a symbolic link of the user's is
// written through to the file it leads to.
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

    // Holds the writes made while it lives and writes the file once when the outermost Batch
    // ends, so that saving a page of settings is one write. Reads meanwhile see the writes.
    class Batch {
      public:
        explicit Batch(IniFile& ini) : ini_(ini) { ++ini_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

      private:
        IniFile& ini_;
    };

  private:
    struct Cache {
        std::optional<platform::FileStamp> stamp;  // nothing: there was no file
        IniDocument doc;
        bool writable = true;  // false: a file that could not be read or is not trusted
        bool settled = false;  // the file's next change will change its stamp
        // Declared so that the member's defaults need not be known where std::optional asks
        // whether a Cache can be made (clang asks before the enclosing class is complete).
        Cache();
    };

    const Cache& current() const;
    void change(std::u16string_view section, std::u16string_view key,
                std::optional<std::u16string_view> value);
    void flush();

    std::u16string path_;
    mutable std::optional<Cache> cache_;
    int batchDepth_ = 0;
    bool pending_ = false;  // the cache holds writes of a Batch that are not on the disk yet
};

// The INI file of this user: settingsFolder() + "ソラミネ.ini".
IniFile defaultIniFile();

}  // namespace soramine
