// What the end-to-end tests of keywright share: checks, running kwlaunch, reading
// windows, and the registry editor that kwlaunch starts and the test closes again.
#include "EditorSession.h"

namespace e2e {
namespace {

constexpr int kMessageTextId = 0xFFFF; // the text of a message box

} // namespace

int RunLauncher(const std::string& launcher, const std::string& arguments) {
    std::string command = "\"" + launcher + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, kLaunchTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::string StatusText(HWND frame) {
    return WindowText(FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr));
}

bool WaitForStatusEnding(HWND frame, const std::string& end, std::string* last) {
    return WaitFor(kStatusTimeoutMs, [&] {
        *last = StatusText(frame);
        return EndsWith(*last, end);
    });
}

void ExpectStatus(HWND frame, const std::string& end, const std::string& what) {
    std::string last;
    bool shown = WaitForStatusEnding(frame, end, &last);
    Check(shown, what + " (status bar: \"" + last + "\")");
}

void Press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string TakeMessageBox(DWORD process, DWORD timeoutMs) {
    HWND box = nullptr;
    if (!WaitFor(timeoutMs, [&] {
            box = FindTopWindow(process, [](HWND w) {
                return ClassName(w) == "#32770" && GetDlgItem(w, kMessageTextId) != nullptr;
            });
            return box != nullptr;
        }))
        return "(no message box)";
    const std::string text = WindowText(GetDlgItem(box, kMessageTextId));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    WaitFor(5000, [&] { return !IsWindow(box); });
    return text;
}

std::string DebugLogText() {
    constexpr int kDebugEditId = 1092;
    HWND window = FindWindowA(nullptr, "Debug");
    return WindowText(window ? GetDlgItem(window, kDebugEditId) : nullptr, 65536);
}

EditorSession::~EditorSession() {
    if (process_)
        CloseHandle(process_);
}

bool EditorSession::Start(const std::string& launcher) {
    Check(RunLauncher(launcher) == 0, "kwlaunch starts the editor and attaches");
    frame_ = FindWindowA("RegEdit_RegEdit", nullptr);
    Check(frame_ != nullptr, "the editor's frame exists");
    if (!frame_)
        return false;
    GetWindowThreadProcessId(frame_, &processId_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId_);
    return true;
}

void EditorSession::Close(DWORD timeoutMs) {
    PostMessageA(frame_, WM_CLOSE, 0, 0);
    bool ended = process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
    Check(ended, "closing the editor ends it");
    if (process_) {
        if (!ended)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
        process_ = nullptr;
    }
}

} // namespace e2e
