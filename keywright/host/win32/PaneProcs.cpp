// The replacement procedures of the editor's tree view and list view: they note which
// pane last took the focus, and the list asks for a new layout when it moves.
#include "host/win32/AddinContext.h"
#include "host/win32/Exports.h"

LRESULT CALLBACK VelmaraTreeCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        keywright::Addin().paneIndex = 0;
    return keywright::CallPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK VelmaraListCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    keywright::AddinContext& context = keywright::Addin();
    if (message == WM_SETFOCUS)
        context.paneIndex = 1;
    LRESULT result = keywright::CallPrevious(window, message, wParam, lParam);
    // The editor's splitter moved the list; the layout follows once the move is done.
    if (message == WM_MOVE && context.attached)
        PostMessageW(context.editor.frame, keywright::kMsgRelayout, 0, 0);
    return result;
}
