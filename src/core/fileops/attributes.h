#pragma once

#include <string_view>

namespace soramine::fileops {

// The attribute states an item is given: each is set either on or off.
struct WantedAttributes {
    bool readOnly = false;
    bool hidden = false;
    bool compressed = false;
};

// Gives the item at `path` the wanted states, in this order: when its compression must change
// (never for a folder), first its read-only mark goes (so that it can be changed), then the
// compression; last read-only and hidden are written, also when the compression was refused.
// False when any write failed or the item does not exist.
bool setItemAttributes(std::u16string_view path, const WantedAttributes& wanted, bool folder);

}  // namespace soramine::fileops
