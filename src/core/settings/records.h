#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/settings/history_box.h"
#include "core/text/strings.h"

namespace soramine {

// One 16-byte record of the saved-settings file: four little-endian uint32 values.
struct Record {
    static constexpr std::size_t kSize = 16;
    enum Kind : std::uint32_t { kNumber = 0, kText = 1, kDateTime = 2 };

    std::uint32_t id = 0;     // the page control the value belongs to
    std::uint32_t kind = 0;   // Kind
    std::uint32_t count = 0;  // 1, or a text's length in UTF-16 units
    std::uint32_t value = 0;  // the number (two's complement), the seconds' low 32 bits, or a
                              // text's absolute file offset

    std::int32_t number() const { return static_cast<std::int32_t>(value); }
};

// Little-endian integers into a byte string.
void appendUint16(std::string& out, std::uint16_t v);
void appendUint32(std::string& out, std::uint32_t v);
void putUint32(std::string& out, std::size_t at, std::uint32_t v);
std::uint16_t getUint16(std::string_view bytes, std::size_t at);
std::uint32_t getUint32(std::string_view bytes, std::size_t at);

// Builds one page's block: its records in the order they are added, then the texts of its
// text records in the same order (UTF-16LE, no terminator). Text offsets are absolute: the
// block's start + 16 x record count + the bytes of the texts before.
class BlockWriter {
  public:
    // `blockStart` is the file offset where the block will be written.
    explicit BlockWriter(std::size_t blockStart) : blockStart_(blockStart) {}

    void number(std::uint32_t id, std::int32_t value);
    void text(std::uint32_t id, std::u16string_view text);
    void dateTime(std::uint32_t id, std::int64_t secondsSince1970);

    std::size_t recordCount() const { return records_.size(); }
    // The block's bytes, records then texts.
    std::string bytes() const;

  private:
    std::size_t blockStart_;
    std::vector<Record> records_;        // text offsets filled in by bytes()
    std::vector<std::u16string> texts_;  // one per text record, in order
};

// Reads the records of a block out of the whole file's bytes. Every count, offset and length
// is checked against the file: a read that would leave it fails and reads nothing.
class BlockReader {
  public:
    // `file` must outlive the reader; `position` is the offset of the block's first record and
    // `recordsEnd` the end of the file's records (as its header counts them): records are
    // read only before it, texts anywhere in the file.
    BlockReader(std::string_view file, std::size_t position, std::size_t recordsEnd)
        : file_(file), position_(position), recordsEnd_(std::min(recordsEnd, file.size())) {}

    // The next `count` records, or nothing when they run past the end of the records.
    std::optional<std::vector<Record>> records(std::size_t count);
    // The text a text record points at, or nothing when it lies outside the file.
    std::optional<std::u16string> text(const Record& record) const;

    std::size_t position() const { return position_; }

  private:
    std::string_view file_;
    std::size_t position_;
    std::size_t recordsEnd_;
};

// One record of a page's block and the page setting it holds: a number or text of the page's
// `settings` struct, or the text of one of the page's history boxes. A page's records are one
// table of these in the block's order, which saving and loading both walk, so no record id is
// spelled twice and the block holds exactly one record per row.
template <class Page>
struct RecordField {
    using Settings = decltype(Page::settings);

    constexpr RecordField(std::uint32_t id, std::int32_t Settings::*number)
        : id(id), kind(Record::kNumber), number(number) {}
    // `kind` kNumber keeps a text box of decimal digits as its integer value; loading writes
    // the number back as decimal text.
    constexpr RecordField(std::uint32_t id, std::u16string Settings::*text,
                          Record::Kind kind = Record::kText)
        : id(id), kind(kind), text(text) {}
    constexpr RecordField(std::uint32_t id, HistoryBox Page::*box)
        : id(id), kind(Record::kText), box(box) {}
    // A date-and-time value in seconds since 1970; the block keeps its low 32 bits.
    constexpr RecordField(std::uint32_t id, std::int64_t Settings::*moment)
        : id(id), kind(Record::kDateTime), moment(moment) {}

    std::uint32_t id;
    Record::Kind kind;
    std::int32_t Settings::*number = nullptr;
    std::u16string Settings::*text = nullptr;
    HistoryBox Page::*box = nullptr;
    std::int64_t Settings::*moment = nullptr;
};

template <class Page>
using RecordTable = std::type_identity_t<std::span<const RecordField<Page>>>;

// Adds one record per row, in the table's order.
template <class Page>
void saveRecords(RecordTable<Page> fields, const Page& page, BlockWriter& out) {
    for (const RecordField<Page>& f : fields) {
        if (f.number)
            out.number(f.id, page.settings.*f.number);
        else if (f.moment)
            out.dateTime(f.id, page.settings.*f.moment);
        else if (f.box)
            out.text(f.id, (page.*f.box).text);
        else if (f.kind == Record::kNumber)
            out.number(f.id, text::leadingInt(page.settings.*f.text));
        else
            out.text(f.id, page.settings.*f.text);
    }
}

// A page's values as its block holds them, read in full before any of them is applied.
template <class Page>
struct LoadedRecords {
    typename RecordField<Page>::Settings settings;  // the page's settings with the block's values
    std::vector<std::pair<HistoryBox Page::*, std::u16string>> boxTexts;

    void applyTo(Page& page) && {
        page.settings = std::move(settings);
        for (auto& [box, text] : boxTexts)
            (page.*box).text = std::move(text);
    }
};

// Reads as many records as the table has rows and assigns each to the row of its id, whatever
// the records' order and kinds; records of other ids are ignored. Nothing when the records run
// past the file's records or a text of the page lies outside the file.
template <class Page>
std::optional<LoadedRecords<Page>> readRecords(RecordTable<Page> fields, const Page& page,
                                               BlockReader& in) {
    const auto records = in.records(fields.size());
    if (!records)
        return std::nullopt;
    LoadedRecords<Page> out{page.settings, {}};
    for (const Record& r : *records) {
        const auto f = std::find_if(fields.begin(), fields.end(),
                                    [&](const RecordField<Page>& f) { return f.id == r.id; });
        if (f == fields.end())
            continue;
        if (f->number) {
            out.settings.*f->number = r.number();
        } else if (f->moment) {
            out.settings.*f->moment = r.value;  // the high part is 0
        } else if (f->kind == Record::kNumber) {
            out.settings.*f->text = text::decimal(r.number());
        } else if (auto t = in.text(r)) {
            if (f->box)
                out.boxTexts.emplace_back(f->box, std::move(*t));
            else
                out.settings.*f->text = std::move(*t);
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// readRecords, then applies the values to the page; false (and the page unchanged) when the
// block is damaged.
template <class Page>
bool loadRecords(RecordTable<Page> fields, Page& page, BlockReader& in) {
    auto loaded = readRecords(fields, page, in);
    if (!loaded)
        return false;
    std::move(*loaded).applyTo(page);
    return true;
}

// What the saved-settings file keeps of a method page: its block of records. The method
// pages implement it; the file's reader and writer need nothing else of them.
class RecordBlock {
  public:
    virtual ~RecordBlock() = default;

    // The method box text, e.g. "置換".
    virtual std::u16string_view comboText() const = 0;
    // The page's block. loadBlock returns false when the block is damaged; the file is then
    // refused and the page keeps its settings.
    virtual void saveBlock(BlockWriter& out) const = 0;
    virtual bool loadBlock(BlockReader& in) = 0;
};

}  // namespace soramine
