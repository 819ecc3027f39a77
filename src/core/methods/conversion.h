#pragma once

#include "core/engine/method.h"

namespace soramine {

// The greatest name length among the run's items, for the conversion page's adjust mode;
// with `ignoreExtension` each name is measured without its extension.
int longestNameLength(const RunItems& items, bool ignoreExtension);

}  // namespace soramine
