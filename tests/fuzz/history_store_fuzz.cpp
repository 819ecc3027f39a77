// Any bytes as the input history store: parsing never fails, and what was read is stored
// again unchanged, except entries whose text holds a record separator.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/settings/history_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    HistoryMap map = parseHistoryStore(std::string_view(reinterpret_cast<const char*>(data), size));
    std::erase_if(map, [](const auto& entry) {
        return entry.first.find_first_of(u"\a\b") != std::u16string::npos ||
               entry.second.find_first_of(u"\a\b") != std::u16string::npos;
    });
    if (parseHistoryStore(serializeHistoryStore(map)) != map)
        __builtin_trap();
    return 0;
}
