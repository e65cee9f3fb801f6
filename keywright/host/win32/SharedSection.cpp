// The shared data section and SetCorvidHook, which writes it in the launcher's process
// before the system loads the add-in into the editor's.
#include "host/win32/SharedSection.h"

#include "host/win32/Exports.h"
#include "host/win32/AddinModule.h"
#include "host/win32/HookProcedure.h"

namespace {

// Initialised so that they land in the named section; "shared" makes the loader map
// one copy for every process instead of one per process.
HHOOK g_hookHandle __attribute__((section("Shared"), shared)) = nullptr;
DWORD g_installerThread __attribute__((section("Shared"), shared)) = 0;

} // namespace

namespace keywright {

HHOOK SharedHookHandle() {
    return g_hookHandle;
}

DWORD SharedInstallerThread() {
    return g_installerThread;
}

} // namespace keywright

int WINAPI SetCorvidHook(DWORD threadId) {
    if (threadId == 0) {
        BOOL unhooked = UnhookWindowsHookEx(g_hookHandle);
        g_hookHandle = nullptr;
        return unhooked;
    }
    g_installerThread = GetCurrentThreadId();
    g_hookHandle = SetWindowsHookExW(WH_GETMESSAGE, keywright::GetMessageHook,
                                     keywright::OwnInstance(), threadId);
    if (!g_hookHandle)
        return 0;
    return PostThreadMessageW(threadId, WM_NULL, 0, 0);
}
