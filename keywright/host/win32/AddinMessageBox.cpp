// Message boxes of the add-in, in its own name rather than the editor's.
#include "host/win32/AddinMessageBox.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

int ShowAddinMessage(HWND owner, const std::string& text, UINT flags) {
    return MessageBoxA(owner, text.c_str(), KeywrightString(kStrAddinTitle), flags);
}

void ShowNotAvailableYet(HWND owner) {
    ShowAddinMessage(owner, KeywrightString(kStrNotAvailableYet));
}

} // namespace keywright
