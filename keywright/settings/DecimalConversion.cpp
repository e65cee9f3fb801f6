// Decimal conversion of setting texts, saturating at the 32-bit limits.
#include "settings/DecimalConversion.h"

#include <limits>

namespace keywright {

std::int32_t DecimalToInt(const char* text) {
    if (text == nullptr)
        return 0;
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = (*p++ == '-');
    // Accumulate as a negative number: its range holds the most negative value too.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 - (*p - '0');
        if (value < kMin)
            value = kMin;
    }
    if (negative)
        return static_cast<std::int32_t>(value);
    return value == kMin ? std::numeric_limits<std::int32_t>::max()
                         : static_cast<std::int32_t>(-value);
}

} // namespace keywright
