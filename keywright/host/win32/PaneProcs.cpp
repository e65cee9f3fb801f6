// The replacement procedures of the editor's tree view and list view: they note which
// pane last took the focus, and the list asks for a new layout when it moves.
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/Attach.h"
#include "host/win32/Exports.h"
#include "platform/win32/ui/WindowSubclass.h"

namespace {

void NoteFocus(keywright::FocusPane pane) {
    if (keywright::Attachment* attachment = keywright::CurrentAttachment())
        attachment->NoteFocus(pane);
}

} // namespace

LRESULT CALLBACK VelmaraTreeCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        NoteFocus(keywright::FocusPane::Tree);
    return kestrix::ui::CallPrevious(window, message, wParam, lParam);
}

LRESULT CALLBACK VelmaraListCtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS)
        NoteFocus(keywright::FocusPane::List);
    LRESULT result = kestrix::ui::CallPrevious(window, message, wParam, lParam);
    // The editor's splitter moved the list; the layout follows once the move is done.
    const keywright::AddinContext& context = keywright::Addin();
    if (message == WM_MOVE && context.attached())
        PostMessageW(context.editor.frame, keywright::kMsgRelayout, 0, 0);
    return result;
}
