#pragma once

// The user's desktop folders that the program adds its own files to (file-manager actions).

#include <string>
#include <string_view>

#include "core/platform/fs.h"

namespace soramine::platform {

// $XDG_DATA_HOME, else HOME/.local/share (the home folder from $HOME or the user database);
// ends in the separator. Empty when there is no home folder.
std::u16string dataHomeFolder();

// Creates a new file holding `bytes`, with the folders above it; fails with the
// already-exists class (isAlreadyExists) when something is there, which it leaves alone.
// An executable file may be run by everyone, any other file read by everyone.
Status createNewFile(std::u16string_view path, std::string_view bytes, bool executable);

}  // namespace soramine::platform
