// The shared section seen from two processes: a hook set here is removed by another
// process through the handle it reads from the section, and the handle it clears
// there is cleared here too.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

using SetHook = int(WINAPI*)(DWORD);

// A thread with a message queue that never takes a message, so the hook procedure
// never runs; the hook only has to exist.
DWORD WINAPI IdleThread(LPVOID stop) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    WaitForSingleObject(static_cast<HANDLE>(stop), INFINITE);
    return 0;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

DWORD RunProbe() {
    std::string command = "\"" + OwnFolder() + "keywright_shared_section_probe.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return 200;
    CloseHandle(process.hThread);
    DWORD code = 201;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return code;
}

TEST(SharedSection, AHookSetInOneProcessIsRemovedFromAnother) {
    HMODULE addin = LoadLibraryA("keywright.dll");
    ASSERT_NE(nullptr, addin);
    auto setHook =
        reinterpret_cast<SetHook>(reinterpret_cast<void*>(GetProcAddress(addin, "SetCorvidHook")));
    ASSERT_NE(nullptr, setHook);

    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, IdleThread, stop, 0, &threadId);
    ASSERT_NE(nullptr, thread);
    // The thread's queue must exist before a hook can be set on it.
    for (int i = 0; i < 100 && !PostThreadMessageA(threadId, WM_USER, 0, 0); ++i)
        Sleep(10);

    EXPECT_NE(0, setHook(threadId));
    EXPECT_NE(0u, RunProbe()) << "the other process did not find the hook handle";
    // The other process cleared the handle: here the unhook now has nothing to remove.
    EXPECT_EQ(0, setHook(0));

    SetEvent(stop);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(stop);
}

} // namespace
