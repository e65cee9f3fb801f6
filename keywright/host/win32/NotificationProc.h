// The add-in's share of the tree's and list's notifications, wherever the editor
// receives them.
#pragma once

#include <windows.h>

namespace keywright {

// Handles WM_NOTIFY on the window that received it, passing it on to that window's
// previous procedure.
LRESULT HandleEditorNotify(HWND window, WPARAM wParam, LPARAM lParam);

// Replacement procedure of an editor window that sits between the frame and the
// tree and list, and so receives their notifications.
LRESULT CALLBACK PaneContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace keywright
