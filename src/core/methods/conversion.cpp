#include "core/methods/conversion.h"

#include <algorithm>

#include "core/text/strings.h"

namespace soramine {

int longestNameLength(const RunItems& items, bool ignoreExtension) {
    std::size_t longest = 0;
    for (std::size_t k = 0; k < items.count(); ++k) {
        std::u16string_view name = items.name(k);
        if (ignoreExtension)
            name.remove_suffix(text::extensionOf(name).size());
        longest = std::max(longest, name.size());
    }
    return static_cast<int>(longest);
}

}  // namespace soramine
