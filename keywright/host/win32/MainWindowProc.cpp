// The replacement procedure of the editor's main window.
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/Attach.h"
#include "host/win32/BookmarkPane.h"
#include "host/win32/CommandRouting.h"
#include "host/win32/Exports.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/Layout.h"
#include "host/win32/NotificationProc.h"
#include "host/win32/Toolbar.h"
#include "platform/win32/ui/FailureGuard.h"

#include <commctrl.h>

namespace keywright {

namespace {

using kestrix::ui::CallPrevious;

// The editor's own close or destroy handling runs after the add-in has let go, with
// the procedure that was in place before detaching removed it.
LRESULT DetachThenPass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = kestrix::ui::PreviousProcedure(window);
    Detach();
    if (previous)
        return CallWindowProcW(previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT HandleSize(HWND window, WPARAM wParam, LPARAM lParam) {
    AddinContext& context = Addin();
    LRESULT result = 0;
    if (context.profile && context.profile->sizeFrameFirst)
        result = CallPrevious(window, WM_SIZE, wParam, lParam);
    if (wParam != SIZE_MINIMIZED)
        LayOutEditorPanes(LOWORD(lParam), HIWORD(lParam));
    PostMessageW(window, kMsgRepaintToolbar, 0, 0);
    return result;
}

// The editor's splitter moved the list: the panes follow the new tree width.
LRESULT Relayout() {
    AddinContext& context = Addin();
    if (context.profile && !context.profile->paneContainerClass) {
        ShowWindow(context.editor.tree, SW_HIDE);
        ShowWindow(context.editor.list, SW_HIDE);
    }
    LayOutEditorPanesNow();
    return 1;
}

LRESULT HandleFrameNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    AddinContext& context = Addin();
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && context.profile &&
        (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW)) {
        FillToolbarTooltip(*context.profile, header);
        return 0;
    }
    if (context.editor.paneContainer == window)
        return HandleEditorNotify(window, wParam, lParam);
    return CallPrevious(window, WM_NOTIFY, wParam, lParam);
}

LRESULT HandleFrameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    AddinContext& context = Addin();
    Attachment* attachment = CurrentAttachment();
    switch (message) {
    case WM_SIZE:
        return HandleSize(window, wParam, lParam);
    case kMsgRelayout:
        return Relayout();
    case kMsgRepaintToolbar:
        if (attachment && attachment->toolbar())
            InvalidateRect(attachment->toolbar(), nullptr, TRUE);
        return 0;
    case WM_COMMAND: {
        LRESULT result = 0;
        if (context.profile && RouteCommand(window, LOWORD(wParam), &result))
            return result;
        break;
    }
    case WM_NOTIFY:
        return HandleFrameNotify(window, wParam, lParam);
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
        if (LOWORD(wParam) != WA_INACTIVE && attachment &&
            attachment->focusedPane() == FocusPane::Bookmarks && attachment->bookmarkPane()) {
            SendMessageW(attachment->bookmarkPane(), kMsgBookmarkFocus, 0, 0);
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
    // Nothing may unwind into the editor; after a failure the message still reaches it.
    return kestrix::ui::Guarded(
        window, message,
        [&] { return keywright::HandleFrameMessage(window, message, wParam, lParam); },
        [&] { return kestrix::ui::CallPrevious(window, message, wParam, lParam); });
}
