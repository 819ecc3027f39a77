#include "core/text/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace soramine::text {
namespace {

// One iconv descriptor for the length of one conversion.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false and leaves `in` at the offending input
    // on an invalid or incomplete sequence.
    bool run(const char*& in, size_t& inLeft, std::string& out) {
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t r = iconv(cd_, &src, &inLeft, &dst, &dstLeft);
            out.append(buffer, sizeof buffer - dstLeft);
            in = src;
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t cd_;
};

std::u16string fromLittleEndian(const std::string& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

}  // namespace

std::u16string fromCp932(std::string_view bytes, char16_t unknown) {
    Converter conv("UTF-16LE", "CP932");
    if (!conv.ok())
        return std::u16string(bytes.size(), unknown);
    std::string utf16;
    utf16.reserve(bytes.size() * 2);
    const char* in = bytes.data();
    size_t left = bytes.size();
    while (!conv.run(in, left, utf16)) {
        utf16 += static_cast<char>(unknown & 0xFF);
        utf16 += static_cast<char>(unknown >> 8);
        ++in, --left;  // skip the byte that could not start a character
    }
    return fromLittleEndian(utf16);
}

std::string toCp932(std::u16string_view text) {
    std::string utf16(text.size() * 2, '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        utf16[2 * i] = static_cast<char>(text[i] & 0xFF);
        utf16[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    Converter conv("CP932", "UTF-16LE");
    if (!conv.ok())
        return std::string(text.size(), '?');
    std::string out;
    out.reserve(text.size() * 2);
    const char* in = utf16.data();
    size_t left = utf16.size();
    while (!conv.run(in, left, out)) {
        out += '?';
        // Skip one character: a surrogate pair counts as one.
        size_t unit = static_cast<size_t>(in - utf16.data()) / 2;
        size_t skip = 2;
        if (text[unit] >= 0xD800 && text[unit] <= 0xDBFF && unit + 1 < text.size() &&
            text[unit + 1] >= 0xDC00 && text[unit + 1] <= 0xDFFF) {
            skip = 4;
        }
        skip = std::min(skip, left);
        in += skip, left -= skip;
    }
    return out;
}

bool Cp932LineReader::add(std::string_view piece) {
    while (!stopped_ && !piece.empty()) {
        const std::size_t lf = piece.find('\n');
        const std::string_view part = piece.substr(0, lf);
        if (line_.size() < maxLineBytes_)
            line_.append(part.substr(0, maxLineBytes_ - line_.size()));
        if (lf == std::string_view::npos)
            break;
        piece.remove_prefix(lf + 1);
        if (!lineEnded())
            return false;
    }
    return !stopped_;
}

bool Cp932LineReader::lineEnded() {
    if (!line_.empty() && line_.back() == '\r')
        line_.pop_back();
    batch_ += line_;
    batch_ += '\n';
    line_.clear();
    // Decoding many lines at once spares a converter per line.
    constexpr std::size_t kBatchBytes = 64 * 1024;
    return batch_.size() < kBatchBytes || decodeBatch();
}

bool Cp932LineReader::decodeBatch() {
    const std::u16string text = fromCp932(batch_);
    batch_.clear();
    std::u16string_view rest = text;
    while (!rest.empty() && !stopped_) {
        const std::size_t lf = rest.find(u'\n');
        stopped_ = !sink_(rest.substr(0, lf));
        if (lf == std::u16string_view::npos)
            break;
        rest.remove_prefix(lf + 1);
    }
    return !stopped_;
}

bool Cp932LineReader::finish() {
    if (stopped_)
        return false;
    // Bytes after the last LF make one more line; there is none after a final LF.
    if (!line_.empty() && !lineEnded())
        return false;
    return decodeBatch();
}

bool isDoubleByteCp932(char16_t c) {
    return toCp932(std::u16string_view(&c, 1)).size() == 2;
}

}  // namespace soramine::text
