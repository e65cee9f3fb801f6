// The add-in's own message box, captioned with its name.
#pragma once

#include <windows.h>

#include <string>

namespace keywright {

int ShowAddinMessage(HWND owner, const std::string& text, UINT flags = MB_OK | MB_ICONINFORMATION);

// What a command says while the feature behind it has not been built.
void ShowNotAvailableYet(HWND owner);

} // namespace keywright
