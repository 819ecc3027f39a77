#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/app/ini_table.h"
#include "core/engine/method.h"
#include "core/settings/history_box.h"

namespace soramine {

class AddTextPage;

// The random-name page's INI keys, section "ランダム".
struct RandomNameSettings {
    std::int32_t mode;       // "方法": 0 the random text is the name, 1 insert it (add-text page)
    std::int32_t count;      // "文字数": the number of draws, 1 to 255
    std::int32_t digits;     // "数字": draw from 0-9
    std::int32_t lowerCase;  // "小文字": draw from a-z
    std::int32_t upperCase;  // "大文字": draw from A-Z
    std::int32_t useWords;   // "文字列": draw lines of the words file instead of characters
};

inline constexpr std::u16string_view kRandomNameSection = u"ランダム";
std::span<const IniField<RandomNameSettings>> randomNameSettingsFields();

inline constexpr std::int32_t kMaxRandomCount = 255;

// Gives each item a random text: characters drawn from the chosen classes, or words drawn
// from the lines of a text file (code page 932). The text replaces the name (keeping the
// extension) or, in mode 1, is inserted where the add-text page's position settings say.
// The draws come from the run's random source (RunContext::random).
class RandomNamePage final : public MethodPage {
  public:
    explicit RandomNamePage(AddTextPage& add);

    RandomNameSettings settings;
    HistoryBox wordsFile;  // "ファイル名": the text file of words

    std::u16string_view comboText() const override { return u"ランダム"; }
    void readIni(const IniFile& ini) override;
    void writeIni(IniFile& ini) const override;
    // With 文字列 on, reads the words file anew ("テキストファイルが不正です" when it is
    // missing, empty or too big to hold).
    std::optional<Message> validate(RunContext& run) override;
    std::u16string transform(const ItemArgs& item, RunContext& run) override;
    void saveBlock(BlockWriter& out) const override;
    bool loadBlock(BlockReader& in) override;
    std::vector<HistoryBox*> histories() override;
    std::vector<NamedSetting> namedSettings() override;
    bool usesAddText() const override { return settings.mode == 1; }
    bool namesFolders() const override { return true; }

    // The words of the last validation, in file order.
    std::size_t wordCount() const { return wordEnds_.size(); }
    std::u16string_view word(std::size_t i) const;

  private:
    // Appends one line of the words file; false when the list would outgrow its bounds.
    bool addWord(std::u16string_view line);

    AddTextPage& add_;
    // All words one after another, and where each ends: one allocation for many words.
    std::u16string wordText_;
    std::vector<std::uint32_t> wordEnds_;
};

}  // namespace soramine
