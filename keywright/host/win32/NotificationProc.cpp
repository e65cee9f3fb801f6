// Tree selections feed the history; label edits switch the accelerators off so that
// their keys reach the edit box.
#include "host/win32/NotificationProc.h"

#include "host/win32/AddinContext.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/HookProcedure.h"
#include "platform/win32/ui/FailureGuard.h"
#include "platform/win32/ui/WindowSubclass.h"

#include <commctrl.h>

namespace keywright {

using kestrix::ui::CallPrevious;

LRESULT HandleEditorNotify(HWND window, WPARAM wParam, LPARAM lParam) {
    AddinContext& context = Addin();
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header)
        return CallPrevious(window, WM_NOTIFY, wParam, lParam);
    switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW: {
        // The A and W records differ only in their text pointers, not in the handle.
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
        if (header->hwndFrom == context.editor.tree)
            if (auto path = FullKeyPathOfItem(context.editor.tree, change->itemNew.hItem))
                RecordTreeSelection(*path);
        break;
    }
    case TVN_BEGINLABELEDITA:
    case TVN_BEGINLABELEDITW:
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW: {
        LRESULT result = CallPrevious(window, WM_NOTIFY, wParam, lParam);
        if (result == 0)
            EnableAccelerators(false);
        return result;
    }
    case TVN_ENDLABELEDITA:
    case TVN_ENDLABELEDITW:
    case LVN_ENDLABELEDITA:
    case LVN_ENDLABELEDITW:
        EnableAccelerators(true);
        break;
    default:
        break;
    }
    return CallPrevious(window, WM_NOTIFY, wParam, lParam);
}

LRESULT CALLBACK PaneContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NOTIFY)
        return CallPrevious(window, message, wParam, lParam);
    return kestrix::ui::Guarded(
        window, message, [&] { return HandleEditorNotify(window, wParam, lParam); },
        [&] { return CallPrevious(window, message, wParam, lParam); });
}

} // namespace keywright
