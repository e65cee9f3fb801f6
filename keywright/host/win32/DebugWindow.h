// The debug window: a log of what the add-in does, shown when ShowDebugWnd is 1.
#pragma once

#include "host/DebugLog.h"

#include <windows.h>

namespace keywright {

constexpr UINT kMsgDebugAppend = WM_USER + 308; // 1332: lParam text, wParam nonzero ends the line
constexpr int kDebugEditId = 1092;              // KW_IDC_DEBUG_LOG

// Creates, shows and registers the window; it remembers its place in DebugWindowPos.
void CreateDebugWindow(HWND owner);

// Where to log; null while no debug window exists, so logging does nothing.
DebugLog* AddinDebugLog();

} // namespace keywright
