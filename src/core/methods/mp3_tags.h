#pragma once

#include <string>
#include <string_view>

#include "core/base/expected.h"
#include "core/base/message.h"

namespace soramine {

// The parsed file-name format of the MP3 method's tag-writing mode.
struct TagFormat {
    std::u16string tagSeparators[5];
    int tagOrder[5] = {-1, -1, -1, -1, -1};
};

// Parses the file-name format of the MP3 method's tag-writing mode: the tags "$L", "$A",
// "$T", "$N" (0..3) and the texts between them, up to five slots. tagOrder[0] holds a tag
// only when the format begins with one. A refused format gives its message.
Expected<TagFormat, Message> parseTagFormat(std::u16string_view format);

}  // namespace soramine
