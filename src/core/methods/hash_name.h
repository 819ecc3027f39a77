#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/app/ini_table.h"
#include "core/engine/method.h"

namespace soramine {

class AddTextPage;

// The hash page's INI keys, section "ハッシュ".
struct HashNameSettings {
    std::int32_t mode;       // "方法": 0 the digest is the name, 1 insert it (add-text page)
    std::int32_t kind;       // "種類": 0 CRC-32, 1 MD5, 2 SHA-1
    std::int32_t lowercase;  // "アルファベット": 0 upper-case, 1 lower-case hexadecimal
    std::int32_t enclosure;  // "囲み": index into the enclosure list
};

inline constexpr std::u16string_view kHashNameSection = u"ハッシュ";
std::span<const IniField<HashNameSettings>> hashNameSettingsFields();

// The texts put before and after the digest, in the order of the "囲み(&P):" list: none,
// [ ], ( ), 「」, 【】.
struct Enclosure {
    std::u16string_view before, after;
};
std::span<const Enclosure> hashEnclosures();

// Files whose digest takes more reads than this show a progress of their own while they are
// hashed: 610 reads of 32 KiB, about 19 MB.
inline constexpr std::uint64_t kHashProgressChunks = 610;

// Names each file after the digest of its content (CRC-32, MD5 or SHA-1 in hexadecimal),
// keeping its extension, or inserts the digest where the add-text page's position settings
// say. The file is read in 32 KiB pieces through one buffer.
class HashNamePage final : public MethodPage {
  public:
    explicit HashNamePage(AddTextPage& add);

    HashNameSettings settings;

    std::u16string_view comboText() const override { return u"ハッシュ"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<NamedSetting> namedSettings() override;
    bool usesAddText() const override { return settings.mode == 1; }

  private:
    AddTextPage& add_;
};

}  // namespace soramine
