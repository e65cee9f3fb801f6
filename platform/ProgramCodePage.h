// The program's 8-bit code page, into which text that arrives as UTF-16 is converted.
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// On Windows the active code page (CP_ACP), as the system converts for the program's
// 8-bit calls; elsewhere Windows-1252, the code page of the texts the programs handle.
// A character the code page lacks becomes '?'.
std::string CodePageFromUtf16(std::u16string_view text);

} // namespace kestrix
