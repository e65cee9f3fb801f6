// The invisible window through which the launcher talks to the add-in.
#pragma once

#include <windows.h>

namespace keywright {

constexpr wchar_t kHiddenWindowTitle[] = L"Velmara Corvid Hidden";
constexpr UINT kMsgAttach = 0x8000; // lParam: the editor's main window
constexpr UINT kMsgGotoSharedText = 0x8001;
constexpr UINT kMsgPreviewSharedText = 0x8002;

// Creates it on the calling thread, owned by nobody.
HWND CreateHiddenControlWindow();

} // namespace keywright
