// The replacement procedure of the editor's main window.
#include "host/win32/AddinContext.h"
#include "host/win32/Attach.h"
#include "host/win32/CommandRouting.h"
#include "host/win32/Exports.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/NotificationProc.h"

namespace keywright {

namespace {

// The editor's own close or destroy handling runs after the add-in has let go, with
// the procedure that was in place before detaching removed it.
LRESULT DetachThenPass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = PreviousProcedure(window);
    Detach();
    if (previous)
        return CallWindowProcW(previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AddinContext& context = Addin();
    switch (message) {
    case WM_COMMAND: {
        LRESULT result = 0;
        if (context.profile && RouteCommand(window, LOWORD(wParam), &result))
            return result;
        break;
    }
    case WM_NOTIFY:
        if (context.editor.paneContainer == window)
            return HandleEditorNotify(window, wParam, lParam);
        break;
    case WM_MENUSELECT:
        if (context.profile &&
            ShowMenuStatus(context.editor.statusBar, context.profile->menuStatusPart,
                           LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam) &&
            PrepareKeywrightPopup(reinterpret_cast<HMENU>(wParam), BookmarkTreeHasFocus()))
            return 0;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && context.paneIndex == 2 && context.bookmarkPane) {
            SendMessageW(context.bookmarkPane, kMsgBookmarkFocus, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
    case WM_DESTROY:
        return DetachThenPass(window, message, wParam, lParam);
    default:
        break;
    }
    return CallPrevious(window, message, wParam, lParam);
}

} // namespace

} // namespace keywright

LRESULT CALLBACK VelmaraWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return keywright::HandleFrameMessage(window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the editor; the message still reaches it.
        return keywright::CallPrevious(window, message, wParam, lParam);
    }
}
