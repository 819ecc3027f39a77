#include "core/text/random_text.h"

namespace soramine::text {

std::u16string randomPool(bool digits, bool lowerCase, bool upperCase) {
    std::u16string pool;
    if (digits)
        pool += kRandomDigits;
    if (lowerCase)
        pool += kRandomLowerCase;
    if (upperCase)
        pool += kRandomUpperCase;
    return pool;
}

std::u16string randomCharacters(std::u16string_view pool, int length, RandomSource& random) {
    std::u16string out;
    if (pool.empty())
        return out;
    for (int i = 0; i < length; ++i)
        out += pool[random() % pool.size()];
    return out;
}

}  // namespace soramine::text
