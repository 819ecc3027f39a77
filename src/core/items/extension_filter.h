#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace soramine {

// The parsed extension text of the import: "jpg gif" takes those two, "*" everything,
// "-txt" excludes txt. Each list holds at most ten tokens; further ones are ignored.
struct ExtensionFilter {
    static constexpr size_t kMaxTokens = 10;
    std::vector<std::u16string> includeExtensions;
    std::vector<std::u16string> excludeExtensions;

    size_t tokenCount() const { return includeExtensions.size() + excludeExtensions.size(); }
    // Whether a file of this name is taken: exclusion first, then inclusion (or "*"), both
    // ignoring ASCII letter case. A name without "." counts as its own extension.
    bool accepts(std::u16string_view name) const;
};

ExtensionFilter parseExtensionFilter(std::u16string_view text);

}  // namespace soramine
