// The Windows-1252 code page, in which both programs keep their 8-bit texts where no
// system says otherwise, and its way to and from Unicode.
#pragma once

#include <string>
#include <string_view>

namespace kestrix {

// The character of one byte. The five bytes the code page leaves undefined are the C1
// controls of the same value, as Windows converts them.
char32_t Cp1252Character(unsigned char byte);

// The byte of `c`, or false when the code page has none.
bool EncodeCp1252(char32_t c, char& byte);

// Appends `c` (below 0x110000) in UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// Every byte as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-16 in the code page; a character it lacks becomes '?', and so does each unit of
// a surrogate pair, as the system's conversion does by default.
std::string Cp1252FromUtf16(std::u16string_view text);

} // namespace kestrix
