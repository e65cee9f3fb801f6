// The hidden control window: the modeless dialog 201, never shown. The launcher finds
// it by its title and drives the add-in with three messages.
#include "host/win32/HiddenControlWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/Attach.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/SharedText.h"
#include "preview/win32/AddinPreview.h"
#include "resources/KeywrightResources.h"

#include <string>

namespace keywright {

namespace {

void PreviewSharedText() {
    std::string path;
    if (ReadSharedText(MAX_PATH, &path) != 0)
        return;
    OpenPreview(AddinPreviewHost(), path);
}

INT_PTR CALLBACK HiddenDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case kMsgAttach:
            Addin().hiddenWindow = window;
            Attach(reinterpret_cast<HWND>(lParam));
            return TRUE;
        case kMsgGotoSharedText:
            GotoSharedText();
            return TRUE;
        case kMsgPreviewSharedText:
            PreviewSharedText();
            return TRUE;
        case kMsgNavigationEnded:
            EndHistoryNavigation(static_cast<unsigned>(wParam));
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(window);
            SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            return TRUE;
        case WM_DESTROY:
            if (Addin().hiddenWindow == window)
                Addin().hiddenWindow = nullptr;
            return FALSE;
        default:
            return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return FALSE;
    }
}

} // namespace

HWND CreateHiddenControlWindow() {
    return CreateDialogParamW(Addin().ownInstance, MAKEINTRESOURCEW(KW_IDD_HIDDEN), nullptr,
                              HiddenDialogProc, 0);
}

} // namespace keywright
