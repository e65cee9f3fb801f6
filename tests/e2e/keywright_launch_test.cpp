// End to end: kwlaunch puts keywright into the registry editor, adds its menu, sends
// the editor to reg: locations, goes Back and Forward, and closing the editor still ends it.
//   keywright_launch_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kLaunchTimeoutMs = 60000;
constexpr DWORD kStatusTimeoutMs = 30000;
constexpr DWORD kCloseTimeoutMs = 30000;
constexpr char kExpectedStatusEnd[] = "HKEY_CURRENT_USER\\Software\\Wine";
constexpr char kFirstItemStatus[] = "Create a new bookmark";
constexpr int kDebugEditId = 1092;
constexpr char kParentStatusEnd[] = "HKEY_CURRENT_USER\\Software";
constexpr WPARAM kCmdGoForward = 40010;
constexpr WPARAM kCmdGoBack = 40011;
constexpr char kLoggedStep[] = "Trying backslash locate : Wine  ... Found";

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok)
        ++failures;
}

// ctest hands over a path of the build machine; Wine shows its root as drive Z:.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

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
    HWND status = FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr);
    char text[1024] = {};
    if (status)
        SendMessageTimeoutA(status, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_NORMAL, 5000, nullptr);
    return text;
}

bool WaitForStatusEnding(HWND frame, const std::string& end, std::string* last);

// Waits for the status bar and reports what it showed last.
void ExpectStatus(HWND frame, const char* end, const std::string& what) {
    std::string last;
    bool shown = WaitForStatusEnding(frame, end, &last);
    Check(shown, what + " (status bar: \"" + last + "\")");
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Menus belong to their process under Wine, so the bar is read through the editor
// itself: opening the menu with its mnemonic highlights its first item, whose help
// text the add-in puts into the status bar.
bool OpenKeywrightMenu(HWND frame, std::string* last) {
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'k');
    bool shown = WaitForStatusEnding(frame, kFirstItemStatus, last);
    PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    return shown;
}

bool WaitForStatusEnding(HWND frame, const std::string& end, std::string* last) {
    for (DWORD waited = 0; waited < kStatusTimeoutMs; waited += 200) {
        *last = StatusText(frame);
        if (EndsWith(*last, end))
            return true;
        Sleep(200);
    }
    return false;
}

// The editor reopens the key it showed last; without that memory, a selected key can
// only come from the add-in.
void ForgetEditorLastKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", 0,
                      KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, "LastKey");
    RegCloseKey(key);
}

// The add-in shows its debug window only when asked to in its settings.
void AskForDebugWindow() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Restore", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD one = 1;
    RegSetValueExA(key, "ShowDebugWnd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof one);
    RegCloseKey(key);
}

std::string DebugLogText() {
    HWND window = FindWindowA("Velmara-Debug-Wnd", "Debug");
    HWND edit = window ? GetDlgItem(window, kDebugEditId) : nullptr;
    static char text[65536];
    text[0] = '\0';
    if (edit)
        SendMessageTimeoutA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_NORMAL, 5000, nullptr);
    return text;
}

std::string RememberedLocation() {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Restore", "UrlMru",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_launch_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    std::string launcher = WindowsPath(argv[1]);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_READ, nullptr, &key,
                    nullptr);
    if (key)
        RegCloseKey(key);

    AskForDebugWindow();
    ForgetEditorLastKey();
    Check(RunLauncher(launcher, "") == 0, "kwlaunch starts the editor and attaches");
    HWND frame = FindWindowA("RegEdit_RegEdit", nullptr);
    Check(frame != nullptr, "the editor's frame exists");
    if (!frame)
        return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(frame, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId);

    std::string status;
    bool opened = OpenKeywrightMenu(frame, &status);
    Check(opened, "Alt+K opens the add-in's menu (status: \"" + status + "\")");
    Check(RunLauncher(launcher, "reg:HKCU\\Software\\Wine") == 0, "kwlaunch reg: succeeds");
    ExpectStatus(frame, kExpectedStatusEnd, "the navigation selects the key");

    Check(RunLauncher(launcher, "reg:HKCU\\Software") == 0, "kwlaunch reg: to a second key");
    ExpectStatus(frame, kParentStatusEnd, "the second location selects its key");
    PostMessageA(frame, WM_COMMAND, kCmdGoBack, 0);
    ExpectStatus(frame, kExpectedStatusEnd, "Back returns to the first key");
    PostMessageA(frame, WM_COMMAND, kCmdGoForward, 0);
    ExpectStatus(frame, kParentStatusEnd, "Forward goes to the second key");
    PostMessageA(frame, WM_COMMAND, kCmdGoBack, 0);
    ExpectStatus(frame, kExpectedStatusEnd, "Back again to the first key");

    std::string log = DebugLogText();
    Check(log.find(kLoggedStep) != std::string::npos,
          "the debug window logged the navigation steps:\n" + log);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    bool ended = process && WaitForSingleObject(process, kCloseTimeoutMs) == WAIT_OBJECT_0;
    Check(ended, "closing the editor ends it");
    if (process) {
        if (!ended)
            TerminateProcess(process, 1);
        CloseHandle(process);
    }
    std::string remembered = RememberedLocation();
    Check(EndsWith(remembered, kExpectedStatusEnd),
          "detaching stored the current key (\"" + remembered + "\")");
    return failures == 0 ? 0 : 1;
}
