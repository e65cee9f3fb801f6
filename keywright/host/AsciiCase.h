// Case-insensitive comparison of 8-bit texts, folding the ASCII letters only.
#pragma once

#include <string_view>

namespace keywright {

char AsciiUpper(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

} // namespace keywright
