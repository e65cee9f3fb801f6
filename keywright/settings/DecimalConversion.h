// The one text-to-number rule of the settings: blanks, an optional sign, digits.
#pragma once

#include <cstdint>

namespace keywright {

// Skips leading white space, takes an optional sign and the digits up to the first
// other character; no digits give 0. Values beyond 32 bits stop at the nearest limit
// instead of wrapping, so that a damaged setting cannot turn into its opposite.
std::int32_t DecimalToInt(const char* text);

} // namespace keywright
