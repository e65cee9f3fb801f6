// Conversion between the program's 8-bit code page and the system's wide characters.
#pragma once

#include <string>

namespace kestrix {

// The program keeps names in the active code page (CP_ACP); the wide API is used so
// that the system never guesses on its behalf.
std::wstring WideFromAnsi(const std::string& text);

// `lossless` is cleared when a character has no form in the code page and was replaced.
std::string AnsiFromWide(const std::wstring& text, bool* lossless = nullptr);

} // namespace kestrix
