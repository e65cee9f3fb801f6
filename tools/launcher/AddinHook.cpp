// The hook is set from here, but the add-in announces itself from the editor's thread
// with a thread message back to us.
#include "AddinHook.h"

namespace kwlaunch {

namespace {

constexpr char kControlTitle[] = "Velmara Corvid Hidden";
constexpr DWORD kSignalTimeoutMs = 15000;

using SetHookFunction = int(WINAPI*)(DWORD);

BOOL CALLBACK FindControl(HWND window, LPARAM parameter) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(title, kControlTitle) == 0) {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    std::size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// Waits for the add-in's thread message 0.
bool WaitForSignal() {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.hwnd == nullptr && message.message == WM_NULL)
                return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kSignalTimeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kSignalTimeoutMs - elapsed, QS_ALLINPUT);
    }
}

} // namespace

HWND FindControlWindow(DWORD thread) {
    HWND control = nullptr;
    EnumThreadWindows(thread, FindControl, reinterpret_cast<LPARAM>(&control));
    return control;
}

HWND InstallAddin(DWORD thread, std::string* error) {
    std::string path = OwnFolder() + "keywright.dll";
    HMODULE addin = LoadLibraryA(path.c_str());
    if (!addin) {
        *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    auto setHook = reinterpret_cast<SetHookFunction>(
        reinterpret_cast<void*>(GetProcAddress(addin, "SetCorvidHook")));
    if (!setHook) {
        *error = path + " has no SetCorvidHook";
        return nullptr;
    }
    // Our message queue must exist before the add-in posts its signal to it.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    if (!setHook(thread)) {
        *error = "cannot set the hook on the registry editor's thread (error " +
                 std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    if (!WaitForSignal()) {
        *error = "the add-in did not start in the registry editor";
        return nullptr;
    }
    HWND control = FindControlWindow(thread);
    if (!control)
        *error = "the add-in's control window was not found";
    // The hook stays set while we live: the add-in keeps the module loaded itself.
    return control;
}

} // namespace kwlaunch
