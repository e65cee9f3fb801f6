// The editor is known by its frame's window class; its GUI thread is the frame's owner.
#include "EditorProcess.h"

namespace kwlaunch {

namespace {

constexpr char kFrameClass[] = "RegEdit_RegEdit";
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kPollMs = 100;

struct Search {
    DWORD process;
    HWND frame;
};

BOOL CALLBACK FindFrameOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (lstrcmpiA(name, kFrameClass) == 0 && process == search->process) {
        search->frame = window;
        return FALSE;
    }
    return TRUE;
}

Editor EditorOf(HWND frame) {
    Editor editor;
    if (frame) {
        editor.frame = frame;
        editor.thread = GetWindowThreadProcessId(frame, nullptr);
    }
    return editor;
}

} // namespace

Editor FindEditor() {
    return EditorOf(FindWindowA(kFrameClass, nullptr));
}

Editor StartEditor(std::string* error) {
    char command[] = "regedit.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        *error = "cannot start regedit.exe (error " + std::to_string(GetLastError()) + ")";
        return {};
    }
    CloseHandle(process.hThread);
    WaitForInputIdle(process.hProcess, kStartTimeoutMs);
    Search search{process.dwProcessId, nullptr};
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
        EnumWindows(FindFrameOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.frame || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
            break;
        Sleep(kPollMs);
    }
    CloseHandle(process.hProcess);
    if (!search.frame)
        *error = "the registry editor was started but its window did not appear";
    return EditorOf(search.frame);
}

} // namespace kwlaunch
