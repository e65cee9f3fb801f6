// The first hooked message never returns until the editor quits: the add-in runs the
// editor's loop itself so that its own dialogs and accelerators get their turn.
#include "host/win32/HookProcedure.h"

#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinModule.h"
#include "host/win32/HiddenControlWindow.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/SharedSection.h"
#include "platform/win32/ui/FailureGuard.h"
#include "platform/win32/ui/MessageLoop.h"

namespace keywright {

namespace {

// What the loop needs besides the modeless list; on the editor's thread only.
struct Accelerators {
    bool enabled = true;
    HWND frame = nullptr;
    HACCEL editorTable = nullptr; // owned by the editor's module
    HACCEL ownTable = nullptr;    // freed with this module
};

Accelerators& LoopAccelerators() {
    static Accelerators accelerators;
    return accelerators;
}

// Keeps the DLL mapped for good: the loop below runs inside it, so unhooking must
// never unload it from under the editor.
void PinOwnModule() {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&GetMessageHook), &pinned);
}

bool TranslateAccelerators(MSG& message) {
    const Accelerators& keys = LoopAccelerators();
    if (!keys.enabled || !keys.frame)
        return false;
    if (keys.editorTable && TranslateAcceleratorW(keys.frame, keys.editorTable, &message))
        return true;
    return keys.ownTable && TranslateAcceleratorW(keys.frame, keys.ownTable, &message);
}

void RunEditorLoop(MSG* hooked) {
    PinOwnModule();
    kestrix::ui::SetFailureHook(&ReportAddinFailure);
    OpenHiddenControlWindow();
    PostThreadMessageW(SharedInstallerThread(), WM_NULL, 0, 0);
    LoopAccelerators().ownTable = LoadKeywrightAccelerators(OwnInstance());

    kestrix::ui::MessageLoop loop(&ModelessWindows());
    loop.SetAcceleratorFilter(&TranslateAccelerators);
    MSG message = loop.Run();
    // Handing the quit message back makes the editor's own GetMessage end its loop,
    // so the editor shuts down the way it always does.
    if (message.message == WM_QUIT)
        *hooked = message;
}

} // namespace

kestrix::ui::ModelessWindowList& ModelessWindows() {
    static kestrix::ui::ModelessWindowList windows(kMaxModelessWindows);
    return windows;
}

HWND OpenModelessWindow(std::unique_ptr<kestrix::ui::Dialog> window, int templateId,
                        int showCommand) {
    HWND opened = kestrix::ui::Dialog::Open(std::move(window), OwnInstance(), templateId, nullptr,
                                            &ModelessWindows());
    if (opened)
        ShowWindow(opened, showCommand);
    return opened;
}

void EnableAccelerators(bool enabled) {
    LoopAccelerators().enabled = enabled;
}

void UseEditorAccelerators(HWND frame, HACCEL editorTable) {
    LoopAccelerators().frame = frame;
    LoopAccelerators().editorTable = editorTable;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    static bool first = true;
    if (first && code == HC_ACTION) {
        first = false;
        // Nothing may unwind into the editor's GetMessage.
        kestrix::ui::Guarded(
            nullptr, 0, [&] { RunEditorLoop(reinterpret_cast<MSG*>(lParam)); }, [] {});
    }
    return CallNextHookEx(SharedHookHandle(), code, wParam, lParam);
}

} // namespace keywright
