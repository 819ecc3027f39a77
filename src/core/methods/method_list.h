#pragma once

#include "core/engine/method_table.h"

namespace soramine {

// The fifteen methods of the product, in the order of the method box.
// Adding a method: its file pair in this folder and its row in method_list.cpp.
MethodTable makeMethodTable();

}  // namespace soramine
