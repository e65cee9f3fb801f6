// The conversion between the program's Windows-1252 text and the wide characters of the
// system's windows: Sorbex.exe calls the wide API only and converts here, at the seam.
#include "app/win32/WideText.h"

#include <windows.h>

namespace sorbex {
namespace {

constexpr UINT kTextCodePage = 1252;

} // namespace

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(kTextCodePage, 0, text.data(),
                                           static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                        length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int length = WideCharToMultiByte(
        kTextCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kTextCodePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0],
                        length, nullptr, nullptr);
    return narrow;
}

} // namespace sorbex
