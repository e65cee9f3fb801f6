// The hook procedure that takes over the editor's message loop on its first call.
#pragma once

#include <windows.h>

namespace keywright {

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

// This DLL's instance, stored by the DLL entry.
HINSTANCE OwnInstance();

} // namespace keywright
