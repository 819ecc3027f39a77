#include "core/fileops/attributes.h"

#include "core/platform/fs.h"

namespace soramine::fileops {

bool setItemAttributes(std::u16string_view path, const WantedAttributes& wanted, bool folder) {
    namespace attr = platform::attr;
    const auto entry = platform::lookUp(path);
    if (!entry)
        return false;
    const std::uint32_t current = entry->attributes;
    std::uint32_t next = current & ~(attr::kReadOnly | attr::kHidden);
    if (wanted.readOnly)
        next |= attr::kReadOnly;
    if (wanted.hidden)
        next |= attr::kHidden;

    bool ok = true;
    if (!folder) {
        // A file system without the flag has nothing compressed.
        const auto compressed = platform::isCompressed(path);
        if (wanted.compressed != (compressed && *compressed)) {
            if (current & attr::kReadOnly)
                ok = static_cast<bool>(platform::setAttributes(path, current & ~attr::kReadOnly));
            ok = ok && platform::setCompressed(path, wanted.compressed);
        }
    }
    // Also restores the read-only state after the compression.
    return static_cast<bool>(platform::setAttributes(path, next)) && ok;
}

}  // namespace soramine::fileops
