// Any split and order texts (the bytes up to the first LF, and the rest, one character per
// byte): parsing never fails unsafely, a plan it accepts keeps its bounds, and the transform
// of that plan only rearranges the stem and the added texts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/methods/split_reorder.h"

namespace {

std::u16string units(std::string_view bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t lf = bytes.find('\n');
    const std::u16string split = units(bytes.substr(0, lf));
    const std::u16string order =
        lf == std::string_view::npos ? std::u16string() : units(bytes.substr(lf + 1));

    const auto plan = parseSplitReorder(split, order);
    if (!plan)
        return 0;
    const std::size_t blocks = plan->lengths.size();
    if (blocks < 1 || blocks > 5 || plan->addedTexts.size() > 5 ||
        plan->order.size() > blocks + plan->addedTexts.size() ||
        std::count(plan->lengths.begin(), plan->lengths.end(), SplitPlan::kRest) > 1)
        __builtin_trap();
    for (const auto length : plan->lengths) {
        if (length == 0 || length < SplitPlan::kRest)
            __builtin_trap();
    }
    for (const int entry : plan->order) {
        if (entry < 0 || static_cast<std::size_t>(entry) > blocks)
            __builtin_trap();
    }

    SplitReorderPage page;
    page.split.text = split;
    page.order.text = order;
    RunContext run;
    if (page.validate(run))
        __builtin_trap();
    std::size_t added = 0;
    for (const auto& text : plan->addedTexts)
        added += text.size();
    for (const std::u16string_view name :
         {u"", u"a", u"abcdefghij.txt", u".profile", u"20240131"}) {
        const std::u16string out = page.transform({.name = name}, run);
        // No result is longer than every entry taking the whole name, plus the added texts.
        if (out.size() > name.size() * plan->order.size() + added)
            __builtin_trap();
    }
    return 0;
}
