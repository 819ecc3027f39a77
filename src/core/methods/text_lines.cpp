#include "core/methods/text_lines.h"

#include <algorithm>
#include <array>

#include "core/engine/error_log.h"
#include "core/engine/run.h"
#include "core/engine/session.h"
#include "core/methods/add_text.h"
#include "core/methods/named_settings.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/cp932.h"
#include "core/text/forbidden_chars.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine {

namespace {

constexpr std::array kFields = {
    intField(u"元テキスト", &TextLinesSettings::source, 1),
    intField(u"拡張子", &TextLinesSettings::withExtension, 0),
    intField(u"追加", &TextLinesSettings::add, 0),
    intField(u"選択", &TextLinesSettings::exportSelected, 0),
    intField(u"含める", &TextLinesSettings::exportExtension, 1),
    intField(u"フルパス", &TextLinesSettings::exportFullPath, 0),
    intField(u"クリップボード", &TextLinesSettings::exportClipboard, 0),
    intField(u"Unicode", &TextLinesSettings::exportUnicode, 0),
};

// With 追加 on, the add-text page's position records follow these.
constexpr auto kRecords = std::to_array<RecordField<TextLinesPage>>({
    {1202, &TextLinesSettings::source},
    {1152, &TextLinesPage::path},
    {1153, &TextLinesSettings::withExtension},
    {1200, &TextLinesSettings::add},
    {1156, &TextLinesSettings::exportSelected},
    {1157, &TextLinesSettings::exportExtension},
    {1194, &TextLinesSettings::exportFullPath},
    {1195, &TextLinesSettings::exportClipboard},
    {1233, &TextLinesSettings::exportUnicode},
});

constexpr std::size_t kLongestLine = 250;      // a longer line leaves the name as it is
constexpr std::size_t kReadBlock = 64 * 1024;  // the file is read in blocks of this size
constexpr char16_t kUndefined = 0xFFFD;        // marks bytes that 932 does not define

Message badTextFile() {
    return errorMessage(u"テキストファイルが不正です");
}

// Whether a line's bytes read as code page 932 text: none that 932 does not define (marked
// `kUndefined` in the decoded text), no NUL (UTF-16), and not UTF-8 with characters beyond
// ASCII, which 932 reads without complaint but as other characters (a line of 932 text is
// hardly ever valid UTF-8: its lead bytes 0x81-0x9F cannot start a UTF-8 character).
bool looksLikeCp932(std::u16string_view decoded, std::string_view bytes) {
    if (decoded.find(kUndefined) != std::u16string_view::npos ||
        bytes.find('\0') != std::string_view::npos)
        return false;
    const bool beyondAscii = std::any_of(
        bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return !beyondAscii || !text::isValidUtf8(bytes);
}

// Collects the lines of a file's bytes as they come, block by block. The lines of one block
// are decoded together (one conversion per block, not per line); a line that goes on into
// the next block waits, as bytes, until its end arrives. Splitting at LF bytes is safe in
// code page 932: no double-byte character holds the byte 0x0A.
class LineCollector {
  public:
    LineCollector(std::vector<TextLine>& lines, std::size_t maxLines)
        : lines_(lines), maxLines_(maxLines) {}

    // False once enough lines are complete.
    bool feed(std::string_view block) {
        std::size_t pos = 0;
        while (pos < block.size() && wanted() > 0) {
            const std::size_t lf = block.find('\n', pos);
            const std::size_t end = lf == std::string_view::npos ? block.size() : lf;
            keep(block.substr(pos, end - pos));
            if (lf == std::string_view::npos)
                break;
            endLine();
            pos = lf + 1;
        }
        decodeBatch();
        return lines_.size() < maxLines_;
    }

    // The file ended: a last line without a line end counts too.
    void finish() {
        if (started_ && wanted() > 0)
            endLine();
        decodeBatch();
    }

  private:
    // A complete line of the batch: where its bytes lie in batch_.
    struct Span {
        std::size_t start;
        std::size_t size;
        bool tooLong;
    };

    std::size_t wanted() const { return maxLines_ - lines_.size() - spans_.size(); }

    void keep(std::string_view bytes) {
        started_ = true;
        if (tooLong_)
            return;
        if (pending_.size() + bytes.size() > kLongestReadLine) {
            tooLong_ = true;
            pending_.clear();
            pending_.shrink_to_fit();
            return;
        }
        pending_.append(bytes);
    }

    void endLine() {
        if (!spans_.empty())
            batch_ += '\n';
        spans_.push_back({batch_.size(), pending_.size(), tooLong_});
        batch_ += pending_;
        pending_.clear();
        tooLong_ = false;
        started_ = false;
    }

    void decodeBatch() {
        if (spans_.empty())
            return;
        const std::u16string text = text::fromCp932(batch_, kUndefined);
        std::size_t start = 0;
        for (const Span& span : spans_) {
            std::size_t end = text.find(u'\n', start);
            if (end == std::u16string::npos)
                end = text.size();
            TextLine line;
            if (span.tooLong) {
                line.problem = TextLine::Problem::kTooLong;
            } else {
                line.text = text.substr(start, end - start);
                if (!looksLikeCp932(line.text,
                                    std::string_view(batch_).substr(span.start, span.size))) {
                    line.problem = TextLine::Problem::kNotCp932;
                    line.text.clear();
                } else if (!line.text.empty() && line.text.back() == u'\r') {
                    line.text.pop_back();  // "\r\n" ends a line too
                }
            }
            lines_.push_back(std::move(line));
            start = end + 1;
        }
        batch_.clear();
        spans_.clear();
    }

    std::vector<TextLine>& lines_;
    std::size_t maxLines_;
    std::string pending_;   // the bytes of the line being read
    bool started_ = false;  // the line being read has begun (it may still be empty)
    bool tooLong_ = false;
    std::string batch_;        // complete lines of this block, joined by LF, not yet decoded
    std::vector<Span> spans_;  // one per line in batch_
};

Expected<std::vector<TextLine>, Message> fileLines(std::u16string_view path, std::size_t maxLines) {
    std::vector<TextLine> lines;
    const auto entry = path.empty() ? std::nullopt : platform::lookUp(path);
    if (!entry || entry->isFolder)
        return Unexpected{badTextFile()};
    LineCollector collector(lines, maxLines);
    const platform::Status read = platform::readFileChunks(
        path, kReadBlock, [&](std::string_view block) { return collector.feed(block); });
    if (!read)
        return Unexpected{badTextFile()};
    collector.finish();
    if (lines.empty())
        return Unexpected{badTextFile()};
    return lines;
}

// The part of a name from its last "." on; empty without one, or when the only "." is the
// name's first character.
std::u16string_view oldExtension(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos || dot == 0 ? std::u16string_view() : name.substr(dot);
}

}  // namespace

std::span<const IniField<TextLinesSettings>> textLinesSettingsFields() {
    return kFields;
}

std::vector<TextLine> clipboardLines(std::u16string_view text) {
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n'))
        text.remove_suffix(1);
    std::vector<TextLine> lines;
    while (true) {
        const std::size_t end = text.find(u"\r\n");
        lines.push_back({std::u16string(text.substr(0, end))});
        if (end == std::u16string_view::npos)
            return lines;
        text.remove_prefix(end + 2);
    }
}

Expected<std::vector<TextLine>, Message> readLines(const LineSource& source, Host& host,
                                                   std::size_t maxLines) {
    if (!source.clipboard)
        return fileLines(source.path, maxLines);
    const std::u16string_view end = source.folderCreation ? u"\t" : u"　　　";
    const std::optional<std::u16string> text = host.clipboardText();
    if (!text)
        return Unexpected{errorMessage(u"クリップボードオープンエラー" + std::u16string(end))};
    if (text->empty())
        return Unexpected{
            errorMessage(u"クリップボードに文字列がありません" + std::u16string(end))};
    std::vector<TextLine> lines = clipboardLines(*text);
    if (lines.size() > maxLines)
        lines.resize(maxLines);
    return lines;
}

std::optional<std::u16string> nameOfLine(const TextLine& line, const ItemArgs& item,
                                         RunContext& run) {
    switch (line.problem) {
        case TextLine::Problem::kNone:
            break;
        case TextLine::Problem::kNotCp932:
            // Decoding such a line would give the item a garbled name.
            run.log.appendLog(u"テキストの文字コードが不正です(" + text::decimal(item.k + 1) +
                              u"行目) - " + std::u16string(item.folder) +
                              std::u16string(item.name) + u"\r\n");
            return std::nullopt;
        case TextLine::Problem::kTooLong:
            return std::nullopt;
    }
    text::ForbiddenRepair repaired =
        text::checkForbiddenChars(line.text, text::ForbiddenSet::All, run.env.fullWidthForbidden);
    if (repaired.message)
        run.log.appendLog(repaired.message->text + u" - " + line.text + u"\r\n");
    if (repaired.text.empty() || repaired.text.size() > kLongestLine)
        return std::nullopt;
    return std::move(repaired.text);
}

std::u16string listExportText(const ItemTable& items, std::span<const std::size_t> rows,
                              const TextLinesSettings& settings, bool folderMode) {
    std::u16string out;
    for (const std::size_t row : rows) {
        std::u16string_view name = items.name(row);
        if (!settings.exportExtension && !folderMode) {
            const std::size_t dot = name.rfind(u'.');
            if (dot != std::u16string_view::npos)
                name = name.substr(0, dot);
        }
        if (settings.exportFullPath)
            out += items.folder(row);
        out.append(name).append(u"\r\n");
    }
    return out;
}

std::optional<std::u16string> listExport(const RenameSession& session,
                                         const TextLinesSettings& settings) {
    const std::vector<std::size_t> rows = runRows(session, settings.exportSelected != 0);
    if (rows.empty())
        return std::nullopt;
    return listExportText(session.items(), rows, settings, session.settings.folderMode != 0);
}

std::optional<Message> saveListExport(std::u16string_view path, std::u16string_view text,
                                      bool unicode) {
    if (!platform::writeFileAtomic(path, listExportBytes(text, unicode)))
        return errorMessage(u"ファイルオープンエラー");
    return std::nullopt;
}

Message listCopiedMessage() {
    return {u"クリップボードへコピーしました。", u"完了", Icon::Information};
}

Message openExportQuestion() {
    return {u"ファイルを作成しました。\r\n今すぐ開きますか？", u"確認", Icon::Question};
}

std::string listExportBytes(std::u16string_view text, bool unicode) {
    if (!unicode)
        return text::toCp932(text);
    std::string out("\xFF\xFE");
    out.reserve(2 + 2 * text.size());
    for (const char16_t c : text)
        appendUint16(out, c);
    return out;
}

bool isDroppableTextFile(std::u16string_view path) {
    const std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos)
        return false;
    const std::u16string_view extension = path.substr(dot + 1);
    if (!text::equalsIgnoreAsciiCase(extension, u"txt") &&
        !text::equalsIgnoreAsciiCase(extension, u"text"))
        return false;
    const auto entry = platform::lookUp(path);
    return entry && !entry->isFolder;
}

TextLinesPage::TextLinesPage(AddTextPage& add)
    : path{std::u16string(kTextLinesSection), u"ファイル名", u"Sample.txt", {}, u"Sample.txt"},
      add_(add) {
    applyDefaults(textLinesSettingsFields(), settings);
}

void TextLinesPage::readIni(const IniFile& ini) {
    readFields(ini, kTextLinesSection, textLinesSettingsFields(), settings);
}

void TextLinesPage::writeIni(IniFile& ini) const {
    writeFields(ini, kTextLinesSection, textLinesSettingsFields(), settings);
}

std::optional<Message> TextLinesPage::validate(RunContext&) {
    return std::nullopt;
}

std::optional<Message> TextLinesPage::prepare(const RunItems&, const RunEnvironment& env,
                                              Host& host, std::size_t& runCount) {
    lines_.clear();
    auto lines = readLines({settings.source == 0, path.text, env.folderCreation}, host, runCount);
    if (!lines)
        return std::move(lines.error());
    lines_ = std::move(*lines);
    runCount = std::min(runCount, lines_.size());
    return std::nullopt;
}

std::u16string TextLinesPage::transform(const ItemArgs& item, RunContext& run) {
    const std::size_t k = static_cast<std::size_t>(item.k);
    std::optional<std::u16string> line;
    if (k < lines_.size())
        line = nameOfLine(lines_[k], item, run);
    if (!line)
        return std::u16string(item.name);
    if (settings.add)
        return add_.insert(item.name, *line, {}, run);
    if (settings.withExtension || run.env.folderMode)
        return std::move(*line);
    return line->append(oldExtension(item.name));
}

void TextLinesPage::saveBlock(BlockWriter& out) const {
    saveWithAddTextPositions(kRecords, *this, add_, out);
}

bool TextLinesPage::loadBlock(BlockReader& in) {
    return loadWithAddTextPositions(kRecords, *this, &TextLinesSettings::add, add_, in);
}

std::vector<HistoryBox*> TextLinesPage::histories() {
    return {&path};
}

std::vector<NamedSetting> TextLinesPage::namedSettings() {
    // With 追加 on the line goes where the add-text page's position settings say.
    auto out = namedSettingsOf(textLinesSettingsFields(), settings, {&path});
    auto positions = add_.positionSettings();
    out.insert(out.end(), positions.begin(), positions.end());
    return out;
}

}  // namespace soramine
