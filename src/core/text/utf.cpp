#include "core/text/utf.h"

#include <cstdint>
#include <cstring>

namespace soramine::text {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;  // U+DC80..U+DCFF carry the raw bytes 0x80..0xFF

// Length of the valid UTF-8 sequence at p (1..4), or 0 when it is malformed.
size_t validSequence(const unsigned char* p, size_t left, char32_t& cp) {
    unsigned char b = p[0];
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    size_t len;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < len)
        return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

// Writes one code point; at most 4 bytes.
char* putCodePoint(char* out, char32_t cp) {
    if (cp < 0x80) {
        *out++ = static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace

std::u16string fromUtf8(std::string_view bytes) {
    // Never more units than bytes: a four-byte sequence makes two.
    std::u16string out(bytes.size(), u'\0');
    char16_t* o = out.data();
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        if (*p < 0x80) {  // ASCII fast path
            *o++ = static_cast<char16_t>(*p);
            ++p, --left;
            continue;
        }
        char32_t cp;
        size_t len = validSequence(p, left, cp);
        if (len == 0) {
            *o++ = static_cast<char16_t>(kEscapeBase + *p);
            ++p, --left;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *o++ = static_cast<char16_t>(cp);
        }
        p += len, left -= len;
    }
    out.resize(static_cast<size_t>(o - out.data()));
    return out;
}

char* writeUtf8(std::u16string_view text, char* dst) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        // Runs of ASCII, the usual case in file names, go four units at a time.
        std::uint64_t units;
        while (i + 4 <= n && (std::memcpy(&units, text.data() + i, sizeof units),
                              (units & 0xFF80FF80FF80FF80u) == 0)) {
            for (size_t k = 0; k < 4; ++k)
                dst[k] = static_cast<char>(text[i + k]);
            dst += 4, i += 4;
        }
        if (i == n)
            break;
        char16_t c = text[i];
        if (c < 0x80) {
            *dst++ = static_cast<char>(c);
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
                   text[i + 1] <= 0xDFFF) {
            dst = putCodePoint(dst,
                               0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            *dst++ = static_cast<char>(c - kEscapeBase);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            dst = putCodePoint(dst, 0xFFFD);
        } else {
            dst = putCodePoint(dst, c);
        }
    }
    return dst;
}

std::string toUtf8(std::u16string_view text) {
    std::string out(kMaxUtf8PerUnit * text.size(), '\0');
    out.resize(static_cast<size_t>(writeUtf8(text, out.data()) - out.data()));
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t left = bytes.size();
    while (left > 0) {
        char32_t cp;
        size_t len = validSequence(p, left, cp);
        if (len == 0)
            return false;
        p += len, left -= len;
    }
    return true;
}

}  // namespace soramine::text
