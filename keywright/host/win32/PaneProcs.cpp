// The replacement procedures of the editor's tree view and list view: they note which
// pane last took the focus.
#include "host/win32/AddinContext.h"
#include "host/win32/Exports.h"

LRESULT CALLBACK VelmaraTreeCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        keywright::Addin().paneIndex = 0;
    return keywright::CallPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK VelmaraListCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        keywright::Addin().paneIndex = 1;
    return keywright::CallPrevious(window, message, wParam, lParam);
}
