// The invisible window through which the launcher talks to the add-in.
#pragma once

#include <windows.h>

namespace keywright {

constexpr UINT kMsgAttach = 0x8000; // lParam: the editor's main window
constexpr UINT kMsgGotoSharedText = 0x8001;
constexpr UINT kMsgPreviewSharedText = 0x8002;
// Posted by a navigation thread that Back or Forward started, when it ends; wParam is
// the history's number of that navigation.
constexpr UINT kMsgNavigationEnded = 0x8010;

// Creates it on the calling thread from dialog 201, owned by nobody.
HWND CreateHiddenControlWindow();

} // namespace keywright
