// The conversion between the program's Windows-1252 text and the wide characters of the
// system's windows: Sorbex.exe calls the wide API only and converts here, at the seam.
#pragma once

#include <string>

namespace sorbex {

std::wstring Wide(const std::string& text);
// Characters without a form in Windows-1252 become "?".
std::string Narrow(const std::wstring& text);

} // namespace sorbex
