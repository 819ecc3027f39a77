#include "core/methods/random_name.h"

#include <array>

#include "core/engine/error_log.h"
#include "core/methods/add_text.h"
#include "core/methods/named_settings.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/cp932.h"
#include "core/text/random_text.h"
#include "core/text/strings.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"方法", &RandomNameSettings::mode, 0),
    intField(u"文字数", &RandomNameSettings::count, 5),
    intField(u"数字", &RandomNameSettings::digits, 1),
    intField(u"小文字", &RandomNameSettings::lowerCase, 1),
    intField(u"大文字", &RandomNameSettings::upperCase, 1),
    intField(u"文字列", &RandomNameSettings::useWords, 0),
};

// In add mode the add-text page's position records follow these.
constexpr auto kRecords = std::to_array<RecordField<RandomNamePage>>({
    {1180, &RandomNameSettings::mode},
    {1174, &RandomNameSettings::count},
    {1175, &RandomNameSettings::digits},
    {1176, &RandomNameSettings::lowerCase},
    {1177, &RandomNameSettings::upperCase},
    {1212, &RandomNameSettings::useWords},
    {1213, &RandomNamePage::wordsFile},
});

// A random text of words longer than this leaves the name as it is.
constexpr std::size_t kMaxRandomText = 255;
// A word is kept up to one character past that limit: longer words still make any text too
// long, without their length costing memory.
constexpr std::size_t kMaxWordLength = kMaxRandomText + 1;
// The word list's bounds (about 48 MiB); a file beyond them is refused rather than held.
constexpr std::size_t kMaxWords = std::size_t{1} << 22;
constexpr std::size_t kMaxWordText = std::size_t{1} << 24;
constexpr std::size_t kReadBlock = 64 * 1024;

Message invalidWordsFile() {
    return errorMessage(u"テキストファイルが不正です");
}

}  // namespace

std::span<const IniField<RandomNameSettings>> randomNameSettingsFields() {
    return kFields;
}

RandomNamePage::RandomNamePage(AddTextPage& add)
    : wordsFile{std::u16string(kRandomNameSection),
                u"ファイル名",
                u"Sample.txt",
                {},
                u"Sample.txt"},
      add_(add) {
    applyDefaults(randomNameSettingsFields(), settings);
}

void RandomNamePage::readIni(const IniFile& ini) {
    readFields(ini, kRandomNameSection, randomNameSettingsFields(), settings);
}

void RandomNamePage::writeIni(IniFile& ini) const {
    writeFields(ini, kRandomNameSection, randomNameSettingsFields(), settings);
}

std::u16string_view RandomNamePage::word(std::size_t i) const {
    const std::size_t start = i == 0 ? 0 : wordEnds_[i - 1];
    return std::u16string_view(wordText_).substr(start, wordEnds_[i] - start);
}

bool RandomNamePage::addWord(std::u16string_view line) {
    line = line.substr(0, kMaxWordLength);
    if (wordEnds_.size() == kMaxWords || wordText_.size() + line.size() > kMaxWordText)
        return false;
    wordText_ += line;
    wordEnds_.push_back(static_cast<std::uint32_t>(wordText_.size()));
    return true;
}

std::optional<Message> RandomNamePage::validate(RunContext&) {
    if (!settings.useWords)
        return std::nullopt;
    // The list of an earlier run goes, memory included, before the file is read again.
    std::u16string().swap(wordText_);
    std::vector<std::uint32_t>().swap(wordEnds_);
    if (wordsFile.text.empty())
        return invalidWordsFile();
    bool fits = true;
    text::Cp932LineReader lines(2 * kMaxWordLength, [&](std::u16string_view line) {
        fits = addWord(line);
        return fits;
    });
    const platform::Status read = platform::readFileChunks(
        wordsFile.text, kReadBlock, [&](std::string_view piece) { return lines.add(piece); });
    if (read)
        lines.finish();
    if (!read || !fits || wordEnds_.empty()) {
        std::u16string().swap(wordText_);
        std::vector<std::uint32_t>().swap(wordEnds_);
        return invalidWordsFile();
    }
    return std::nullopt;
}

std::u16string RandomNamePage::transform(const ItemArgs& item, RunContext& run) {
    const std::u16string name(item.name);
    if (settings.count < 1 || settings.count > kMaxRandomCount)
        return name;
    std::u16string random;
    if (settings.useWords) {
        if (wordEnds_.empty())
            return name;  // no validation read a file
        for (std::int32_t i = 0; i < settings.count; ++i) {
            random += word(run.random() % wordEnds_.size());
            if (random.size() > kMaxRandomText)
                return name;
        }
    } else {
        const std::u16string pool = text::randomPool(settings.digits != 0, settings.lowerCase != 0,
                                                     settings.upperCase != 0);
        // Only a settings file can clear all three classes; the page never does.
        if (pool.empty()) {
            run.log.appendLog(u"文字の種類が選択されていません - " + name + u"\r\n");
            return name;
        }
        random = text::randomCharacters(pool, settings.count, run.random);
    }
    if (settings.mode == 1) {
        // Inserting nothing leaves the name; the add-text page would put its own text instead.
        if (random.empty())
            return name;
        return add_.insert(item.name, random, u"", run);
    }
    if (!run.env.folderMode)
        random += text::extensionAfterStem(item.name);
    return random;
}

void RandomNamePage::saveBlock(BlockWriter& out) const {
    saveWithAddTextPositions(kRecords, *this, add_, out);
}

bool RandomNamePage::loadBlock(BlockReader& in) {
    if (!loadWithAddTextPositions(kRecords, *this, &RandomNameSettings::mode, add_, in))
        return false;
    // The count record holds the spin control's position in its low 16 bits.
    settings.count &= 0xFFFF;
    return true;
}

std::vector<HistoryBox*> RandomNamePage::histories() {
    return {&wordsFile};
}

std::vector<NamedSetting> RandomNamePage::namedSettings() {
    auto out = namedSettingsOf(randomNameSettingsFields(), settings, {&wordsFile});
    // In add mode the text goes where the add-text page's position settings say.
    auto positions = add_.positionSettings();
    out.insert(out.end(), positions.begin(), positions.end());
    return out;
}

}  // namespace soramine
