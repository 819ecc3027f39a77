#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/expected.h"

namespace soramine::text {

// Why a pattern or a replacement was refused: the library's message and the 0-based position
// in the refused text.
struct RegexError {
    std::u16string message;
    std::size_t offset = 0;
};

// A compiled Perl-compatible regular expression over UTF-16 text. Lone surrogates in a subject
// (the carried bytes of names that are not valid UTF-8) are matched as characters of their
// own, so any name can be searched. One object is used by one thread at a time.
class Regex {
  public:
    static Expected<Regex, RegexError> compile(std::u16string_view pattern, bool caseless);

    Regex(Regex&&) noexcept;
    Regex& operator=(Regex&&) noexcept;
    ~Regex();

    // Whether every "$" reference of `replacement` ("$$", "$1"…"$99", "${n}", "${name}")
    // names a group of this pattern.
    std::optional<RegexError> checkReplacement(std::u16string_view replacement) const;
    // `subject` with every match replaced by `replacement` (its "$" references filled in),
    // or an error from the library.
    Expected<std::u16string, RegexError> replaceAll(std::u16string_view subject,
                                                    std::u16string_view replacement) const;

  private:
    struct Compiled;
    explicit Regex(std::unique_ptr<Compiled> compiled);
    std::unique_ptr<Compiled> compiled_;
};

}  // namespace soramine::text
