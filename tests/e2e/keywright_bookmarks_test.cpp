// End to end: the bookmark pane in the registry editor. Command 3016 bookmarks the
// selected key and the pane lists it; with kwlaunch registered for reg: links, opening
// a bookmark (through the shell, and by a double click in the pane) selects its key;
// real mouse drags put a key from the editor's tree into a folder of the pane and move a
// bookmark between folders.
//   keywright_bookmarks_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "EditorSession.h"
#include "MouseInput.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;
using e2e::ExpectStatus;
using e2e::RunLauncher;

constexpr DWORD kCloseTimeoutMs = 30000;
constexpr char kKey[] = "Software\\KeywrightBookmarkE2E";
constexpr char kKeyStatusEnd[] = "HKEY_CURRENT_USER\\Software\\KeywrightBookmarkE2E";
constexpr char kOtherStatusEnd[] = "HKEY_CURRENT_USER\\Software\\KeywrightBookmarkE2E\\Inner";

constexpr char kValue[] = "Colour";

void CreateKeys() {
    HKEY key = nullptr;
    std::string inner = std::string(kKey) + "\\Inner";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, inner.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>("blue"), 5);
        RegCloseKey(key);
    }
}

// The window that has the keyboard focus in the thread of `window`.
HWND FocusOfThread(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string TemporaryFolder() {
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    return path;
}

bool WriteFileText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    CloseHandle(file);
    return ok;
}

// Opens `target` as the bookmark pane does: the shell's "open" verb, no parameters.
bool OpenThroughShell(const std::string& target) {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

constexpr int kPaneTreeId = 23344;
constexpr WPARAM kCmdCreateBookmark = 3016;
constexpr DWORD kFileTimeoutMs = 30000;
constexpr int kOutOfTheWayY = 800; // below the editor on the test's screen
constexpr char kKeyFile[] = "HKEY_CURRENT_USER-Software-KeywrightBookmarkE2E.url";
constexpr char kInnerFile[] = "HKEY_CURRENT_USER-Software-KeywrightBookmarkE2E-Inner.url";
constexpr char kValueFile[] = "HKEY_CURRENT_USER-Software-KeywrightBookmarkE2E-Colour.url";

HWND PaneTree(HWND frame) {
    HWND pane = FindWindowExA(frame, nullptr, "Velmara-Sheet-Wnd", nullptr);
    return pane ? GetDlgItem(pane, kPaneTreeId) : nullptr;
}

int TreeCount(HWND tree) {
    DWORD_PTR count = 0;
    SendMessageTimeoutA(tree, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count);
    return static_cast<int>(count);
}

// The pane's item in row `row` (0: the top item); the pane expands every folder.
HTREEITEM PaneRow(HWND tree, int row) {
    auto next = [&](UINT relation, HTREEITEM item) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item),
                            SMTO_NORMAL, 5000, &result);
        return reinterpret_cast<HTREEITEM>(result);
    };
    HTREEITEM item = next(TVGN_ROOT, nullptr);
    for (int i = 0; item && i < row; ++i)
        item = next(TVGN_NEXTVISIBLE, item);
    return item;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileText(const std::string& path) {
    std::string text;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char buffer[1024];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

bool DragItem(HWND fromTree, HTREEITEM from, HWND toTree, HTREEITEM to) {
    POINT start{}, end{};
    return e2e::TreeItemPoint(fromTree, from, &start) && e2e::TreeItemPoint(toTree, to, &end) &&
           e2e::DragWithMouse(start, end);
}

// Removes what an earlier run may have left in the bookmark folder.
void ClearFolder(const std::string& folder) {
    for (const char* name : {kKeyFile, kInnerFile, kValueFile})
        DeleteFileA((folder + name).c_str());
    for (const char* name : {kKeyFile, kInnerFile})
        DeleteFileA((folder + "Drop\\" + name).c_str());
    RemoveDirectoryA((folder + "Drop").c_str());
    RemoveDirectoryA(folder.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_bookmarks_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    std::string launcher = e2e::WindowsPath(argv[1]);
    CreateKeys();
    Check(RunLauncher(launcher, "--register") == 0, "kwlaunch --register");
    // A writable folder beside the add-in is the one it uses.
    const std::string folder = FolderOf(launcher) + "Bookmarks\\";
    ClearFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "Drop").c_str(), nullptr);

    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return 1;
    HWND frame = editor.frame();
    HWND container = FindWindowExA(frame, nullptr, "REGEDIT", nullptr);
    HWND tree = FindWindowExA(container ? container : frame, nullptr, WC_TREEVIEWA, nullptr);
    HWND pane = PaneTree(frame);
    // The debug window opens over the editor; the mouse must reach the pane below it.
    if (HWND debug = FindWindowA(nullptr, "Debug"))
        SetWindowPos(debug, nullptr, 0, kOutOfTheWayY, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Check(pane != nullptr && TreeCount(pane) == 2, "the pane shows its folder and the folder in it");
    std::string seen;
    const bool painted =
        pane && e2e::LooksPainted(GetParent(pane), &seen, "keywright_bookmarks_pane.bmp");
    Check(painted, "the pane is painted (" + seen + ")");

    Check(RunLauncher(launcher, "reg:HKCU\\" + std::string(kKey)) == 0, "kwlaunch to the key");
    ExpectStatus(frame, kKeyStatusEnd, "the key is selected");
    PostMessageA(frame, WM_COMMAND, kCmdCreateBookmark, 0);
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return FileExists(folder + kKeyFile); }),
          "3016 writes the key's bookmark");
    std::string text = ReadFileText(folder + kKeyFile);
    Check(text.rfind("[InternetShortcut]\r\nURL=reg:", 0) == 0 &&
              e2e::EndsWith(text, "\\HKEY_CURRENT_USER\\" + std::string(kKey) + "\r\n"),
          "holding the key's location (\"" + text + "\")");
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return TreeCount(pane) == 3; }), "the pane lists it");

    // Rows: the top item, Drop, the bookmark.
    Check(RunLauncher(launcher, "reg:HKCU\\" + std::string(kKey) + "\\Inner") == 0,
          "kwlaunch to another key");
    ExpectStatus(frame, kOtherStatusEnd, "the other key is selected");
    POINT bookmarkPoint{};
    Check(e2e::TreeItemPoint(pane, PaneRow(pane, 2), &bookmarkPoint), "the bookmark is visible");
    char doubleClick[96];
    std::snprintf(doubleClick, sizeof doubleClick, "mousemove %ld %ld click --repeat 2 --delay 100 1",
                  bookmarkPoint.x, bookmarkPoint.y);
    Check(e2e::Xdotool(doubleClick), "xdotool double-clicks the bookmark");
    ExpectStatus(frame, kKeyStatusEnd, "opening the bookmark in the pane selects its key");

    Check(RunLauncher(launcher, "reg:HKCU\\" + std::string(kKey) + "\\Inner") == 0,
          "kwlaunch to the key to drag");
    ExpectStatus(frame, kOtherStatusEnd, "the key to drag is selected");
    Check(DragItem(tree, e2e::TreeCaret(tree), pane, PaneRow(pane, 1)), "xdotool drags the key");
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return FileExists(folder + "Drop\\" + kInnerFile); }),
          "a key dragged from the editor onto a folder of the pane is bookmarked there");

    // Rows: the top item, Drop, Drop's new bookmark, the first bookmark.
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return TreeCount(pane) == 4; }),
          "the pane lists the dropped bookmark");
    Check(DragItem(pane, PaneRow(pane, 3), pane, PaneRow(pane, 1)), "xdotool drags the bookmark");
    Check(e2e::WaitFor(kFileTimeoutMs,
                       [&] {
                           return FileExists(folder + "Drop\\" + kKeyFile) &&
                                  !FileExists(folder + kKeyFile);
                       }),
          "a bookmark dragged onto another folder moves there");

    // With the list's focus on a value, 3016 bookmarks the value.
    HWND list = FindWindowExA(container ? container : frame, nullptr, WC_LISTVIEWA, nullptr);
    Check(RunLauncher(launcher, "reg:HKCU\\" + std::string(kKey) + ":" + kValue) == 0,
          "kwlaunch to the value");
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return FocusOfThread(frame) == list; }),
          "the value's list has the focus");
    PostMessageA(frame, WM_COMMAND, kCmdCreateBookmark, 0);
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return FileExists(folder + kValueFile); }),
          "3016 writes the value's bookmark");
    Check(e2e::EndsWith(ReadFileText(folder + kValueFile),
                        "\\HKEY_CURRENT_USER\\" + std::string(kKey) + ":" + kValue + "\r\n"),
          "holding the value's location");
    Check(e2e::WaitFor(kFileTimeoutMs, [&] { return TreeCount(pane) == 5; }),
          "the pane lists the value's bookmark");

    // The shell starts a launcher for each opening and returns at once: each opening
    // below starts from another key, so that what it selects is seen arriving, and the
    // next one is not started while an earlier launcher may still be on its way.
    Check(RunLauncher(launcher, "reg:HKCU\\" + std::string(kKey) + "\\Inner") == 0,
          "kwlaunch away from the bookmark's key");
    ExpectStatus(frame, kOtherStatusEnd, "the other key is selected again");
    const std::string bookmark = TemporaryFolder() + "KeywrightBookmarkE2E.url";
    Check(WriteFileText(bookmark, "[InternetShortcut]\r\nURL=reg:HKEY_CURRENT_USER\\" +
                                      std::string(kKey) + "\r\n"),
          "a bookmark file is written");
    Check(OpenThroughShell(bookmark), "the shell opens the bookmark file");
    ExpectStatus(frame, kKeyStatusEnd, "opening the bookmark selects its key");

    Check(OpenThroughShell("reg:HKCU\\" + std::string(kKey) + "\\Inner"),
          "the shell opens a reg: link");
    ExpectStatus(frame, kOtherStatusEnd, "opening the link selects its key");

    // Real mouse input reaches the editor: a click on the parent key selects it.
    HTREEITEM parent = reinterpret_cast<HTREEITEM>(SendMessageA(
        tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(e2e::TreeCaret(tree))));
    POINT point{};
    Check(e2e::TreeItemPoint(tree, parent, &point), "the parent key is visible");
    char click[64];
    std::snprintf(click, sizeof click, "mousemove %ld %ld click 1", point.x, point.y);
    Check(e2e::Xdotool(click), "xdotool starts");
    ExpectStatus(frame, kKeyStatusEnd, "a click on the parent key selects it");

    editor.Close(kCloseTimeoutMs);
    DeleteFileA(bookmark.c_str());
    ClearFolder(folder);
    Check(RunLauncher(launcher, "--unregister") == 0, "kwlaunch --unregister");
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kKey) + "\\Inner").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    return e2e::ExitCode();
}
