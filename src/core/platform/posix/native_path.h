#pragma once

#include <string>
#include <string_view>

#include "core/text/utf.h"

namespace soramine::platform {

// A path as the kernel takes it: the UTF-8 bytes, with escaped raw bytes restored.
inline std::string nativePath(std::u16string_view path) {
    return text::toUtf8(path);
}

}  // namespace soramine::platform
