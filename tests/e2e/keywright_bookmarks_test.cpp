// End to end: with kwlaunch registered for reg: links, opening a bookmark file through
// the shell, as a double click in the bookmark pane or on the desktop does, reaches
// kwlaunch and selects the bookmarked key in the registry editor.
//   keywright_bookmarks_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "EditorSession.h"
#include "MouseInput.h"

namespace {

using e2e::Check;
using e2e::ExpectStatus;
using e2e::RunLauncher;

constexpr DWORD kCloseTimeoutMs = 30000;
constexpr char kKey[] = "Software\\KeywrightBookmarkE2E";
constexpr char kKeyStatusEnd[] = "HKEY_CURRENT_USER\\Software\\KeywrightBookmarkE2E";
constexpr char kOtherStatusEnd[] = "HKEY_CURRENT_USER\\Software\\KeywrightBookmarkE2E\\Inner";

void CreateKeys() {
    HKEY key = nullptr;
    std::string inner = std::string(kKey) + "\\Inner";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, inner.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
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

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_bookmarks_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    std::string launcher = e2e::WindowsPath(argv[1]);
    CreateKeys();
    Check(RunLauncher(launcher, "--register") == 0, "kwlaunch --register");

    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return 1;
    HWND frame = editor.frame();

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
    HWND container = FindWindowExA(frame, nullptr, "REGEDIT", nullptr);
    HWND tree = FindWindowExA(container ? container : frame, nullptr, WC_TREEVIEWA, nullptr);
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
    Check(RunLauncher(launcher, "--unregister") == 0, "kwlaunch --unregister");
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kKey) + "\\Inner").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    return e2e::ExitCode();
}
