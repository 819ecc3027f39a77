#include "core/settings/records.h"

namespace soramine {

void appendUint16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void appendUint32(std::string& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void putUint32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint16_t getUint16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

std::uint32_t getUint32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
}

void BlockWriter::number(std::uint32_t id, std::int32_t value) {
    records_.push_back({id, Record::kNumber, 1, static_cast<std::uint32_t>(value)});
}

void BlockWriter::text(std::uint32_t id, std::u16string_view text) {
    records_.push_back({id, Record::kText, static_cast<std::uint32_t>(text.size()), 0});
    texts_.emplace_back(text);
}

void BlockWriter::dateTime(std::uint32_t id, std::int64_t secondsSince1970) {
    records_.push_back({id, Record::kDateTime, 1, static_cast<std::uint32_t>(secondsSince1970)});
}

std::string BlockWriter::bytes() const {
    std::string out;
    std::size_t textOffset = blockStart_ + Record::kSize * records_.size();
    auto text = texts_.begin();
    for (const Record& r : records_) {
        std::uint32_t value = r.value;
        if (r.kind == Record::kText) {
            value = static_cast<std::uint32_t>(textOffset);
            textOffset += 2 * text++->size();
        }
        appendUint32(out, r.id);
        appendUint32(out, r.kind);
        appendUint32(out, r.count);
        appendUint32(out, value);
    }
    for (const std::u16string& t : texts_) {
        for (char16_t c : t)
            appendUint16(out, c);
    }
    return out;
}

std::optional<std::vector<Record>> BlockReader::records(std::size_t count) {
    if (position_ > recordsEnd_ || count > (recordsEnd_ - position_) / Record::kSize)
        return std::nullopt;
    std::vector<Record> out(count);
    for (Record& r : out) {
        r = {getUint32(file_, position_), getUint32(file_, position_ + 4),
             getUint32(file_, position_ + 8), getUint32(file_, position_ + 12)};
        position_ += Record::kSize;
    }
    return out;
}

std::optional<std::u16string> BlockReader::text(const Record& record) const {
    // 64-bit arithmetic: an offset and length near 2^32 cannot wrap around.
    const std::uint64_t start = record.value;
    const std::uint64_t end = start + 2 * std::uint64_t{record.count};
    if (end > file_.size())
        return std::nullopt;
    std::u16string out(record.count, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = getUint16(file_, start + 2 * i);
    return out;
}

}  // namespace soramine
