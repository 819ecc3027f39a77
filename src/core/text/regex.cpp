#include "core/text/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace soramine::text {

struct Regex::Compiled {
    pcre2_code* code = nullptr;
    pcre2_match_data* match = nullptr;

    ~Compiled() {
        pcre2_match_data_free(match);
        pcre2_code_free(code);
    }
};

namespace {

PCRE2_SPTR units(std::u16string_view s) {
    return reinterpret_cast<PCRE2_SPTR>(s.data());
}

std::u16string libraryMessage(int code) {
    PCRE2_UCHAR buffer[256];
    const int length = pcre2_get_error_message(code, buffer, std::size(buffer));
    if (length < 0)
        return u"?";
    return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                          static_cast<std::size_t>(length));
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

Regex::Regex(std::unique_ptr<Compiled> compiled) : compiled_(std::move(compiled)) {}
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;
Regex::~Regex() = default;

Expected<Regex, RegexError> Regex::compile(std::u16string_view pattern, bool caseless) {
    // UCP lets \w, \d and \b see Japanese letters and digits as letters and digits.
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_UCP;
    if (caseless)
        options |= PCRE2_CASELESS;
    int code = 0;
    PCRE2_SIZE offset = 0;
    auto compiled = std::make_unique<Compiled>();
    compiled->code =
        pcre2_compile(units(pattern), pattern.size(), options, &code, &offset, nullptr);
    if (!compiled->code)
        return Unexpected{RegexError{libraryMessage(code), offset}};
    // Matching without the JIT gives the same results, only slower, so a refusal is not
    // an error.
    (void)pcre2_jit_compile(compiled->code, PCRE2_JIT_COMPLETE);
    compiled->match = pcre2_match_data_create_from_pattern(compiled->code, nullptr);
    return Regex(std::move(compiled));
}

std::optional<RegexError> Regex::checkReplacement(std::u16string_view replacement) const {
    std::uint32_t groups = 0;
    pcre2_pattern_info(compiled_->code, PCRE2_INFO_CAPTURECOUNT, &groups);
    const auto refused = [](int code, std::size_t at) {
        return std::optional<RegexError>(RegexError{libraryMessage(code), at});
    };
    const auto checkNumber = [&](std::u16string_view digits, std::size_t at) {
        unsigned long long n = 0;
        for (char16_t c : digits) {
            n = n * 10 + static_cast<unsigned>(c - u'0');
            if (n > groups)
                return refused(PCRE2_ERROR_NOSUBSTRING, at);
        }
        return std::optional<RegexError>();
    };
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        if (replacement[i] != u'$')
            continue;
        const std::size_t at = i++;
        if (i < replacement.size() && replacement[i] == u'$')
            continue;
        if (i < replacement.size() && isDigit(replacement[i])) {
            const std::size_t first = i;
            while (i + 1 < replacement.size() && isDigit(replacement[i + 1]))
                ++i;
            if (auto error = checkNumber(replacement.substr(first, i + 1 - first), at))
                return error;
            continue;
        }
        if (i >= replacement.size() || replacement[i] != u'{')
            return refused(PCRE2_ERROR_BADREPLACEMENT, at);
        const std::size_t close = replacement.find(u'}', i);
        if (close == std::u16string_view::npos || close == i + 1)
            return refused(PCRE2_ERROR_BADREPLACEMENT, at);
        const std::u16string_view name = replacement.substr(i + 1, close - i - 1);
        if (isDigit(name[0])) {
            for (char16_t c : name) {
                if (!isDigit(c))
                    return refused(PCRE2_ERROR_BADREPLACEMENT, at);
            }
            if (auto error = checkNumber(name, at))
                return error;
        } else {
            const std::u16string terminated(name);
            if (pcre2_substring_number_from_name(compiled_->code, units(terminated)) < 0)
                return refused(PCRE2_ERROR_NOSUBSTRING, at);
        }
        i = close;
    }
    return std::nullopt;
}

Expected<std::u16string, RegexError> Regex::replaceAll(std::u16string_view subject,
                                                       std::u16string_view replacement) const {
    std::u16string out(subject.size() + replacement.size() + 16, u'\0');
    for (;;) {
        PCRE2_SIZE length = out.size();
        const int rc =
            pcre2_substitute(compiled_->code, units(subject), subject.size(), 0,
                             PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH,
                             compiled_->match, nullptr, units(replacement), replacement.size(),
                             reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
        if (rc >= 0) {
            out.resize(length);
            return out;
        }
        if (rc != PCRE2_ERROR_NOMEMORY || length <= out.size())
            return Unexpected{RegexError{libraryMessage(rc), 0}};
        out.resize(length);  // the library said how much the result needs
    }
}

}  // namespace soramine::text
