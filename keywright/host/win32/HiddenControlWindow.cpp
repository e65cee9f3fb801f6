// The hidden control window: a plain popup that is never shown. The launcher finds it
// by its title and drives the add-in with three messages.
#include "host/win32/HiddenControlWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/Attach.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/SharedText.h"

#include <string>

namespace keywright {

namespace {

constexpr wchar_t kClassName[] = L"Velmara-Corvid-Hidden";

// The preview window comes with its own feature; until then the path is read so the
// launcher's protocol holds, and the user is told.
void PreviewSharedText() {
    std::string path;
    if (ReadSharedText(MAX_PATH, &path) != 0)
        return;
    ShowNotAvailableYet(Addin().editor.frame);
}

LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case kMsgAttach:
            Addin().hiddenWindow = window;
            Attach(reinterpret_cast<HWND>(lParam));
            return 0;
        case kMsgGotoSharedText:
            GotoSharedText();
            return 0;
        case kMsgPreviewSharedText:
            PreviewSharedText();
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            if (Addin().hiddenWindow == window)
                Addin().hiddenWindow = nullptr;
            return 0;
        default:
            break;
        }
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HWND CreateHiddenControlWindow() {
    HINSTANCE instance = Addin().ownInstance;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HiddenWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kClassName, kHiddenWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

} // namespace keywright
