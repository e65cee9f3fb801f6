// Driving Sorbex.exe from another process as a user would: starting it, finding its
// windows and controls, filling the search page and running a search.
#include "SorbexDriver.h"

#include "E2eChecks.h"

namespace e2e {
namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (id != search->processId || std::string(name) != search->className ||
        !IsWindowVisible(window) || (search->owner && GetWindow(window, GW_OWNER) != search->owner))
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (GetDlgCtrlID(window) != search->id)
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

Program StartProgram(const std::string& command) {
    std::string line = command;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Program program;
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &info)) {
        CloseHandle(info.hThread);
        program.process = info.hProcess;
        program.id = info.dwProcessId;
    }
    return program;
}

int WaitForExit(Program& program, DWORD timeoutMs) {
    if (!program.process)
        return -1;
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(program.process, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(program.process, &code);
    else
        TerminateProcess(program.process, 1);
    CloseHandle(program.process);
    program.process = nullptr;
    return static_cast<int>(code);
}

HWND FindWindowOf(DWORD processId, const char* className, HWND owner) {
    WindowSearch search{processId, className, owner, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ChildWithId(HWND parent, int id) {
    ChildSearch search{id, nullptr};
    EnumChildWindows(parent, MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SetText(HWND window, const std::string& text) {
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                        5000, nullptr);
}

std::string RunSearch(HWND frame, const std::string& expression, const std::string& masks,
                      const std::string& directory) {
    SetText(ChildWithId(frame, kExpressionField), expression);
    SetText(ChildWithId(frame, kFileMaskField), masks);
    SetText(ChildWithId(frame, kDirectoryField), directory);
    PostMessageA(frame, WM_COMMAND, kStartSearchingCommand, 0);
    const HWND view = ChildWithId(frame, kResultView);
    std::string text;
    const bool finished = WaitFor(kSorbexSearchTimeoutMs, [&] {
        text = WindowText(view, 1 << 20);
        return text.find("Searching terminated normally") != std::string::npos;
    });
    return finished ? text : std::string();
}

} // namespace e2e
