// Conversion between the Windows-1252 texts searched and UTF-8 terminals.
#pragma once

#include <string>
#include <string_view>

#include "platform/Cp1252.h"

namespace sorbex {

// Every byte as UTF-8; the five bytes the code page leaves undefined become the C1
// controls of the same value, as Windows converts them.
using kestrix::Cp1252ToUtf8;

// Converts valid UTF-8 whose characters all exist in Windows-1252 into `out`; false
// (and `out` unspecified) otherwise.
bool Utf8ToCp1252(std::string_view text, std::string& out);

// A text of the files as the terminal shows it: unchanged on Windows, where the
// console uses the code page, UTF-8 elsewhere.
std::string ForTerminal(const std::string& text);

} // namespace sorbex
