// The first hooked message never returns until the editor quits: the add-in runs the
// editor's loop itself so that its own dialogs and accelerators get their turn.
#include "host/win32/HookProcedure.h"

#include "host/win32/AddinContext.h"
#include "host/win32/HiddenControlWindow.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/SharedSection.h"

namespace keywright {

namespace {

// Keeps the DLL mapped for good: the loop below runs inside it, so unhooking must
// never unload it from under the editor.
void PinOwnModule() {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&GetMessageHook), &pinned);
}

bool OfferToModelessWindows(MSG* message) {
    AddinContext& context = Addin();
    for (int i = 0; i < context.modelessCount; ++i)
        if (IsDialogMessageW(context.modeless[i], message))
            return true;
    return false;
}

bool TranslateAccelerators(MSG* message, HACCEL own) {
    AddinContext& context = Addin();
    if (!context.acceleratorsEnabled || !context.attached)
        return false;
    HWND frame = context.editor.frame;
    if (context.editorAccelerators &&
        TranslateAcceleratorW(frame, context.editorAccelerators, message))
        return true;
    return own && TranslateAcceleratorW(frame, own, message);
}

void RunEditorLoop(MSG* hooked) {
    PinOwnModule();
    CreateHiddenControlWindow();
    PostThreadMessageW(SharedInstallerThread(), WM_NULL, 0, 0);
    HACCEL own = LoadKeywrightAccelerators(Addin().ownInstance);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (OfferToModelessWindows(&message))
            continue;
        if (TranslateAccelerators(&message, own))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // Handing the quit message back makes the editor's own GetMessage end its loop,
    // so the editor shuts down the way it always does.
    if (message.message == WM_QUIT)
        *hooked = message;
}

} // namespace

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    static bool first = true;
    if (first && code == HC_ACTION) {
        first = false;
        try {
            RunEditorLoop(reinterpret_cast<MSG*>(lParam));
        } catch (...) {
            // Nothing may unwind into the editor's GetMessage.
        }
    }
    return CallNextHookEx(SharedHookHandle(), code, wParam, lParam);
}

HINSTANCE OwnInstance() {
    return Addin().ownInstance;
}

} // namespace keywright
