// Conversion between the program's 8-bit code page and the system's wide characters.
#include "platform/win32/AnsiText.h"

#include "platform/ProgramCodePage.h"

#include <windows.h>

namespace kestrix {

std::wstring WideFromAnsi(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (n <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], n);
    return wide;
}

std::string AnsiFromWide(const std::wstring& text, bool* lossless) {
    if (lossless)
        *lossless = true;
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr,
                                      lossless ? &usedDefault : nullptr);
    if (n <= 0) {
        if (lossless)
            *lossless = false;
        return std::string();
    }
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, &narrow[0], n, nullptr, nullptr);
    if (lossless && usedDefault)
        *lossless = false;
    return narrow;
}

std::string CodePageFromUtf16(std::u16string_view text) {
    // Windows' wide characters are UTF-16 code units.
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide characters are UTF-16");
    return AnsiFromWide(std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

} // namespace kestrix
