// End to end: Ctrl+S's command opens the add-in's search window in the registry
// editor; a search lists the rows of a scratch key, a row takes the editor to its
// key, and Stop and closing during a search behave.
//   keywright_search_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "EditorSession.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;
using e2e::EndsWith;
using e2e::Press;

constexpr DWORD kWaitMs = 60000;
constexpr WPARAM kCmdSearch = 3018;
constexpr int kIdText = 1301;
constexpr int kIdStart = 1330;
constexpr int kIdStop = 1331;
constexpr int kIdResults = 1333;
constexpr int kIdStatus = 1334;
// The roots that the prepared settings leave out: checked, they make a search long
// enough that a Stop always finds it running.
constexpr int kIdMoreRoots[] = {1312, 1314, 1316}; // HKCR, HKLM, HKCC
constexpr char kScratch[] = "Software\\KestrixSearchE2E";
// Unique per run, so that traces of an earlier run (the editor's last key, the
// add-in's last location) never match.
const std::string kTerm = "kwneedle" + std::to_string(GetTickCount());
const std::string kKeyHitEnd = "HKEY_CURRENT_USER\\Software\\KestrixSearchE2E\\" + kTerm + "-key";

std::string Text(HWND window) {
    return e2e::WindowText(window);
}

template <typename Condition> bool WaitFor(Condition condition) {
    return e2e::WaitFor(kWaitMs, condition);
}

void SetDword(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A key, a value name and string data that hold the term; the search window's
// settings search the current user only, through both of its roots.
void PrepareRegistry() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kScratch) + "\\" + kTerm + "-key").c_str(), 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
    RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    const std::string data = "data with " + kTerm + " inside";
    RegSetValueExA(key, (kTerm + "-value").c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(data.c_str()), DWORD(data.size() + 1));
    RegCloseKey(key);
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Search", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    SetDword(key, "SearchAll", 1);
    for (const char* root : {"HKCR", "HKLM", "HKCC", "HKDD"})
        SetDword(key, root, 0);
    for (const char* on :
         {"HKCU", "HKU", "SuppressDupHKCU", "SearchKeys", "SearchValues", "SearchData"})
        SetDword(key, on, 1);
    SetDword(key, "CurrentUserOnly", 0);
    RegCloseKey(key);
    // The debug window logs each navigation, which explains a failed one.
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Restore", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    SetDword(key, "ShowDebugWnd", 1);
    RegCloseKey(key);
}

void RemoveScratch() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kScratch) + "\\" + kTerm + "-key").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratch);
}

HWND OpenSearchWindow(HWND frame) {
    HWND before = FindWindowA("#32770", "Search");
    PostMessageA(frame, WM_COMMAND, kCmdSearch, 0);
    return e2e::WaitForDialog("Search", kWaitMs, [&](HWND w) { return w != before; });
}

std::string StatusOf(HWND dialog) {
    return Text(GetDlgItem(dialog, kIdStatus));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_search_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    PrepareRegistry();
    e2e::EditorSession editor;
    if (!editor.Start(e2e::WindowsPath(argv[1])))
        return 1;
    HWND frame = editor.frame();

    HWND search = OpenSearchWindow(frame);
    Check(search != nullptr, "command 3018 opens the search window");
    HWND second = search ? OpenSearchWindow(frame) : nullptr;
    Check(second != nullptr && second != search, "command 3018 opens another window each time");
    if (second)
        PostMessageA(second, WM_CLOSE, 0, 0);

    if (search) {
        SendMessageA(GetDlgItem(search, kIdText), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(kTerm.c_str()));
        Press(search, kIdStart);
        bool done = WaitFor([&] { return StatusOf(search) == "Search Completed"; });
        Check(done, "the search completes (status: \"" + StatusOf(search) + "\")");
        HWND list = GetDlgItem(search, kIdResults);
        LRESULT rows = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        // The key, the value name and the data, once each: the user's hive under
        // HKEY_USERS is left out as a duplicate.
        Check(rows == 3, "three rows are listed (" + std::to_string(rows) + ")");
        std::string seen;
        const bool painted = e2e::LooksPainted(search, &seen, "keywright_search.bmp");
        Check(painted, "the search window is painted on the screen (" + seen + ")");

        // The first row is the key, found before its parent's values: a real click on it,
        // just below the column headers.
        SetForegroundWindow(search);
        RECT header{}, area{};
        GetWindowRect(FindWindowExA(list, nullptr, "SysHeader32", nullptr), &header);
        GetWindowRect(list, &area);
        const POINT target{area.left + 40, header.bottom + 6};
        SetCursorPos(target.x, target.y);
        WaitFor([&] {
            POINT now{};
            return GetCursorPos(&now) && now.x == target.x && now.y == target.y;
        });
        INPUT click[2] = {};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, click, sizeof(INPUT));
        HWND editorStatus = FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr);
        bool selected = WaitFor([&] { return EndsWith(Text(editorStatus), kKeyHitEnd); });
        Check(selected,
              "the row selects its key in the editor (status: \"" + Text(editorStatus) + "\")");
        if (!selected)
            std::printf("selected row %d; debug log:\n%s\n",
                        static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED)),
                        e2e::DebugLogText().c_str());

        // Stop during a search of the whole registry: it cannot end before the Stop
        // that is queued right behind its start.
        for (int id : kIdMoreRoots)
            SendMessageA(GetDlgItem(search, id), BM_SETCHECK, BST_CHECKED, 0);
        Press(search, kIdStart);
        Press(search, kIdStop);
        bool stopped = WaitFor([&] { return StatusOf(search) == "Search Interrupted"; });
        Check(stopped, "Stop interrupts the search (status: \"" + StatusOf(search) + "\")");
        Check(WaitFor([&] { return IsWindowEnabled(GetDlgItem(search, kIdStart)) != FALSE; }),
              "after the stop, Search is enabled again");

        // Closing during a search stops it, and the window goes when the worker is done.
        Press(search, kIdStart);
        PostMessageA(search, WM_CLOSE, 0, 0);
        Check(WaitFor([&] { return !IsWindow(search); }), "closing during a search closes it");

        // A figure, not a check: the whole registry with the window open.
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Search", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr);
        for (const char* root : {"HKCR", "HKLM", "HKCC", "HKDD"})
            SetDword(key, root, 1);
        RegCloseKey(key);
        HWND timed = OpenSearchWindow(frame);
        if (timed) {
            SendMessageA(GetDlgItem(timed, kIdText), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>("kestrix-no-such-text"));
            DWORD start = GetTickCount();
            Press(timed, kIdStart);
            if (WaitFor([&] { return StatusOf(timed) == "Search Completed"; }))
                std::printf("whole registry with the window open: %lu ms\n",
                            static_cast<unsigned long>(GetTickCount() - start));
            PostMessageA(timed, WM_CLOSE, 0, 0);
        }
    }

    editor.Close(kWaitMs);
    RemoveScratch();
    return e2e::ExitCode();
}
