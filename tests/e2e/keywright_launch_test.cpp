// End to end: kwlaunch puts keywright into the registry editor, adds its menu and
// toolbar, sends the editor to keys and values, reports bad locations, goes Back and
// Forward with the toolbar's buttons following, and closing the editor still ends it.
//   keywright_launch_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "EditorSession.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;
using e2e::EndsWith;
using e2e::ExpectStatus;
using e2e::kStatusTimeoutMs;
using e2e::RunLauncher;
using e2e::WaitForStatusEnding;
using e2e::WaitFor;

constexpr DWORD kCloseTimeoutMs = 30000;
constexpr char kExpectedStatusEnd[] = "HKEY_CURRENT_USER\\Software\\Wine";
constexpr char kFirstItemStatus[] = "Create a new bookmark";
constexpr char kParentStatusEnd[] = "HKEY_CURRENT_USER\\Software";
constexpr WPARAM kCmdGoForward = 40010;
constexpr WPARAM kCmdGoBack = 40011;
constexpr char kLoggedStep[] = "Trying backslash locate : Wine  ... Found";
constexpr char kValueKey[] = "Software\\KeywrightE2E";
constexpr int kToolbarButtons = 14;
constexpr char kOffScreen[] = "3000 3000 3480 3327";

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

// The add-in shows its debug window only when asked to in its settings. Its saved place
// lies where no screen is, as after a monitor was removed: the window must still show.
void AskForDebugWindow() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Restore", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD one = 1;
    RegSetValueExA(key, "ShowDebugWnd", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                   sizeof one);
    RegSetValueExA(key, "DebugWindowPos", 0, REG_SZ, reinterpret_cast<const BYTE*>(kOffScreen),
                   sizeof kOffScreen);
    RegCloseKey(key);
}

std::string RememberedLocation() {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Restore", "UrlMru",
                     RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

// A key with two values; the second has a ":" in its name, which a location encodes.
void CreateValueKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kValueKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    for (const char* name : {"Alpha", "Beta:x"})
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(key);
}

int SelectedListItem(HWND frame) {
    HWND child = FindWindowExA(frame, nullptr, "REGEDIT", nullptr);
    HWND list = FindWindowExA(child ? child : frame, nullptr, WC_LISTVIEWA, nullptr);
    DWORD_PTR index = static_cast<DWORD_PTR>(-1);
    if (list)
        SendMessageTimeoutA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED,
                            SMTO_NORMAL, 5000, &index);
    return static_cast<int>(index);
}

bool WaitForSelectedItem(HWND frame, int expected, int* last) {
    return WaitFor(kStatusTimeoutMs, [&] {
        *last = SelectedListItem(frame);
        return *last == expected;
    });
}

bool ButtonEnabled(HWND toolbar, WPARAM command) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(toolbar, TB_GETSTATE, command, 0, SMTO_NORMAL, 5000, &state);
    return (state & TBSTATE_ENABLED) != 0;
}

// The toolbar's state follows the history a moment after the selection.
void ExpectButtons(HWND toolbar, bool back, bool forward, const std::string& when) {
    bool ok = WaitFor(kStatusTimeoutMs, [&] {
        return ButtonEnabled(toolbar, kCmdGoBack) == back &&
               ButtonEnabled(toolbar, kCmdGoForward) == forward;
    });
    Check(ok, when + ": Go Back " + (back ? "enabled" : "disabled") + ", Go Forward " +
                  (forward ? "enabled" : "disabled"));
}

std::string UrlHandlerCommand(HKEY root = HKEY_CURRENT_USER,
                              const char* key = "Software\\Classes\\reg\\shell\\open\\command") {
    char text[1024] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(root, key, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return {};
    return text;
}

// What the shell itself looks up when it opens a reg: link or a bookmark file.
std::string ShellUrlHandlerCommand() {
    return UrlHandlerCommand(HKEY_CLASSES_ROOT, "reg\\shell\\open\\command");
}

// Registering for reg: links and unregistering needs no editor.
void CheckUrlRegistration(const std::string& launcher) {
    Check(RunLauncher(launcher, "--register") == 0, "kwlaunch --register");
    std::string command = UrlHandlerCommand();
    Check(command == "\"" + launcher + "\" \"%1\"",
          "reg: links open through kwlaunch (\"" + command + "\")");
    Check(ShellUrlHandlerCommand() == command,
          "and the shell sees it (\"" + ShellUrlHandlerCommand() + "\")");
    Check(RunLauncher(launcher, "--unregister") == 0 && UrlHandlerCommand().empty() &&
              ShellUrlHandlerCommand().empty(),
          "kwlaunch --unregister removes it");
    // Another program's handler is not ours to remove.
    HKEY key = nullptr;
    const char other[] = "\"C:\\other.exe\" \"%1\"";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Classes\\reg\\shell\\open\\command", 0,
                        nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other), sizeof other);
        RegCloseKey(key);
    }
    Check(RunLauncher(launcher, "--unregister") != 0 && UrlHandlerCommand() == other,
          "kwlaunch --unregister leaves another program's handler alone");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\reg\\shell\\open\\command");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\reg\\shell\\open");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\reg\\shell");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes\\reg");
    Check(RunLauncher(launcher, "--preview Z:\\no\\such\\file.reg") == 2,
          "kwlaunch --preview refuses a missing file before it starts the editor");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_launch_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    std::string launcher = e2e::WindowsPath(argv[1]);
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_READ, nullptr, &key,
                    nullptr);
    if (key)
        RegCloseKey(key);

    CheckUrlRegistration(launcher);
    AskForDebugWindow();
    ForgetEditorLastKey();
    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return 1;
    HWND frame = editor.frame();
    DWORD processId = editor.processId();

    std::string status;
    bool opened = OpenKeywrightMenu(frame, &status);
    Check(opened, "Alt+K opens the add-in's menu (status: \"" + status + "\")");

    HWND toolbar = FindWindowExA(frame, nullptr, TOOLBARCLASSNAMEA, nullptr);
    LRESULT buttons = toolbar ? SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) : 0;
    Check(buttons == kToolbarButtons && GetDlgCtrlID(toolbar) == 1004,
          "the toolbar has " + std::to_string(kToolbarButtons) + " buttons (" +
              std::to_string(buttons) + ")");

    CreateValueKey();
    Check(RunLauncher(launcher, "reg:HKCU\\Software\\KeywrightE2E:Beta%3Ax") == 0,
          "kwlaunch reg: with a value");
    int selected = -1;
    // Row 0 is the unnamed value, then Alpha, then Beta:x.
    bool valueSelected = WaitForSelectedItem(frame, 2, &selected);
    Check(valueSelected,
          "a value location selects the value (selected row " + std::to_string(selected) + ")");
    ExpectStatus(frame, "HKEY_CURRENT_USER\\Software\\KeywrightE2E", "and its key");

    Check(RunLauncher(launcher, "reg:HKXX\\Software") == 0, "kwlaunch reg: unknown abbreviation");
    std::string box = e2e::TakeMessageBox(processId, kStatusTimeoutMs);
    Check(box == "Invalid key : HKXX", "an unknown abbreviation is reported (\"" + box + "\")");
    Check(RunLauncher(launcher, "reg:HKCU\\Software\\KwMissing\\Deeper") == 0,
          "kwlaunch reg: missing key");
    box = e2e::TakeMessageBox(processId, kStatusTimeoutMs);
    Check(box.rfind("Key not found : ", 0) == 0 &&
              EndsWith(box, "\\HKEY_CURRENT_USER\\Software\\KwMissing"),
          "a missing key is reported up to its first missing part (\"" + box + "\")");
    Check(RunLauncher(launcher, "reg:HKCU\\Software\\Wine") == 0, "kwlaunch reg: succeeds");
    ExpectStatus(frame, kExpectedStatusEnd, "the navigation selects the key");

    Check(RunLauncher(launcher, "reg:HKCU\\Software") == 0, "kwlaunch reg: to a second key");
    ExpectStatus(frame, kParentStatusEnd, "the second location selects its key");
    ExpectButtons(toolbar, true, false, "after three visits");
    PostMessageA(frame, WM_COMMAND, kCmdGoBack, 0);
    ExpectStatus(frame, kExpectedStatusEnd, "Back returns to the first key");
    ExpectButtons(toolbar, true, true, "after Back");
    PostMessageA(frame, WM_COMMAND, kCmdGoForward, 0);
    ExpectStatus(frame, kParentStatusEnd, "Forward goes to the second key");
    ExpectButtons(toolbar, true, false, "after Forward");
    PostMessageA(frame, WM_COMMAND, kCmdGoBack, 0);
    ExpectStatus(frame, kExpectedStatusEnd, "Back again to the first key");

    std::string log = e2e::DebugLogText();
    Check(log.find(kLoggedStep) != std::string::npos,
          "the debug window logged the navigation steps:\n" + log);
    // The log must show on the screen too, not only answer WM_GETTEXT.
    std::string seen;
    const bool painted =
        e2e::LooksPainted(FindWindowA(nullptr, "Debug"), &seen, "keywright_debug.bmp");
    Check(painted, "the debug window is painted on the screen (" + seen + ")");

    editor.Close(kCloseTimeoutMs);
    std::string remembered = RememberedLocation();
    Check(EndsWith(remembered, kExpectedStatusEnd),
          "detaching stored the current key (\"" + remembered + "\")");
    return e2e::ExitCode();
}
