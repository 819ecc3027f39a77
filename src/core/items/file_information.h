#pragma once

#include <string>

#include "core/platform/fs.h"

namespace soramine {

// The text of the file information window: the size in bytes, a rule, and the creation, last
// write and last access times, one line each (a label, a tab, the list's date text). A time the
// system does not keep shows an empty value.
std::u16string fileInformationText(const platform::EntryInfo& entry);

}  // namespace soramine
