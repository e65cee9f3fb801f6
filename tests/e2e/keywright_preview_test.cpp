// End to end: `kwlaunch --preview FILE` opens keywright's preview window in the registry
// editor, which shows the file's keys sorted in a tree and a key's values in the list; a
// broken file is reported with its line; a second file reuses the window; command 3020
// asks for a file; the splitter bar drags; closing stores the window's place.
//   keywright_preview_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EditorSession.h"
#include "PaintedCheck.h"
#include "preview/RE4TestText.h"

namespace {

using e2e::Check;
using keywright::testing::Crlf;
using keywright::testing::Utf16File;

constexpr DWORD kWaitMs = 30000;
constexpr WPARAM kCmdPreview = 3020;
constexpr char kTitle[] = "Preview Registry File";
constexpr char kSettingsKey[] = "Software\\Velmara\\Keywright\\Restore";
constexpr std::size_t kTextChars = 4096;

template <typename Condition> bool WaitFor(Condition condition) {
    return e2e::WaitFor(kWaitMs, condition);
}

std::string TempFile(const std::string& name, const std::string& bytes) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    return path;
}

// A window of the editor by its whole title, or by its beginning when `prefix`.
HWND FindTopWindow(DWORD process, const std::string& title, bool prefix) {
    HWND found = nullptr;
    WaitFor([&] {
        found = e2e::FindTopWindow(process, [&](HWND w) {
            const std::string text = e2e::WindowText(w);
            return prefix ? text.rfind(title, 0) == 0 : text == title;
        });
        return found != nullptr;
    });
    return found;
}

// A block of memory in the editor's process, where the tree and list controls can
// read and write the records that their messages point to.
class RemoteMemory {
public:
    RemoteMemory(DWORD process, std::size_t size)
        : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               process)),
          memory_(process_ ? static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT,
                                                               PAGE_READWRITE))
                           : nullptr) {}
    ~RemoteMemory() {
        if (memory_)
            VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_)
            CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    char* at(std::size_t offset) const { return memory_ + offset; }
    bool Write(std::size_t offset, const void* data, std::size_t size) const {
        return memory_ && WriteProcessMemory(process_, memory_ + offset, data, size, nullptr);
    }
    bool Read(std::size_t offset, void* data, std::size_t size) const {
        return memory_ && ReadProcessMemory(process_, memory_ + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    char* memory_;
};

constexpr std::size_t kTextOffset = 1024;

std::string Narrow(const std::vector<wchar_t>& text) {
    char narrow[kTextChars * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, text.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

LRESULT SendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWaitMs, &result);
    return static_cast<LRESULT>(result);
}

std::string TreeItemText(HWND tree, HTREEITEM item, const RemoteMemory& remote) {
    TVITEMW record{};
    record.mask = TVIF_TEXT | TVIF_HANDLE;
    record.hItem = item;
    record.pszText = reinterpret_cast<wchar_t*>(remote.at(kTextOffset));
    record.cchTextMax = kTextChars;
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!remote.Write(0, &record, sizeof record) ||
        !SendTo(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at(0))) ||
        !remote.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t)))
        return "(unreadable)";
    text.back() = L'\0';
    return Narrow(text);
}

std::string ListText(HWND list, int row, int column, const RemoteMemory& remote) {
    LVITEMW record{};
    record.iSubItem = column;
    record.pszText = reinterpret_cast<wchar_t*>(remote.at(kTextOffset));
    record.cchTextMax = kTextChars;
    std::vector<wchar_t> text(kTextChars, L'\0');
    if (!remote.Write(0, &record, sizeof record))
        return "(unreadable)";
    SendTo(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.at(0)));
    if (!remote.Read(kTextOffset, text.data(), text.size() * sizeof(wchar_t)))
        return "(unreadable)";
    text.back() = L'\0';
    return Narrow(text);
}

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        SendTo(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// The texts of `parent`'s children, expanding it first; "|"-separated.
std::string Children(HWND tree, HTREEITEM parent, const RemoteMemory& remote) {
    SendTo(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    std::string texts;
    for (HTREEITEM child = NextItem(tree, TVGN_CHILD, parent); child;
         child = NextItem(tree, TVGN_NEXT, child))
        texts += (texts.empty() ? "" : "|") + TreeItemText(tree, child, remote);
    return texts;
}

HTREEITEM ChildNamed(HWND tree, HTREEITEM parent, const std::string& name,
                     const RemoteMemory& remote) {
    SendTo(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    for (HTREEITEM child = NextItem(tree, TVGN_CHILD, parent); child;
         child = NextItem(tree, TVGN_NEXT, child))
        if (TreeItemText(tree, child, remote) == name)
            return child;
    return nullptr;
}

// "NAME=DATA" rows of the list, "|"-separated.
std::string ListRows(HWND list, const RemoteMemory& remote) {
    const int count = static_cast<int>(SendTo(list, LVM_GETITEMCOUNT, 0, 0));
    std::string rows;
    for (int row = 0; row < count; ++row)
        rows += (row ? "|" : "") + ListText(list, row, 0, remote) + "=" +
                ListText(list, row, 1, remote);
    return rows;
}

// A run starts from the preview's defaults, not from where the last run left it.
void ForgetPreviewPlace() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    for (const char* name : {"PreviewX", "PreviewY", "PreviewDX", "PreviewDY", "PreviewSplit"})
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

DWORD ReadDword(const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

// Presses the left button on the splitter bar, drags it by `dx` pixels and lets go with
// real pointer events: xdotool, a program of the machine that Wine runs on (started
// through Wine's "start /unix"), moves the pointer of the X display that Wine draws on,
// whose coordinates are the screen's.
bool DragSplitter(HWND preview, int dx) {
    HWND splitter = FindWindowExA(preview, nullptr, "vlsplit", nullptr);
    RECT rect{};
    GetWindowRect(splitter, &rect);
    const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
    // The pointer must land on the bar itself: a window of another program that covers
    // it would take the drag instead.
    const POINT centre{x, y};
    SetWindowPos(preview, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!e2e::WaitFor(kWaitMs, [&] { return WindowFromPoint(centre) == splitter; }))
        return false;
    char command[512];
    std::snprintf(
        command, sizeof command,
        "start.exe /wait /unix /usr/bin/xdotool mousemove --sync %d %d sleep 0.2 mousedown 1 "
        "sleep 0.2 mousemove --sync %d %d sleep 0.2 mousemove --sync %d %d sleep 0.2 mouseup 1",
        x, y, x + dx / 2, y, x + dx, y);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    const bool ended = WaitForSingleObject(process.hProcess, kWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

BOOL CALLBACK FindEdit(HWND window, LPARAM parameter) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Edit") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(parameter) = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_preview_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    const std::string launcher = e2e::WindowsPath(argv[1]);
    std::string bigBytes, bigData;
    for (int i = 0; i < 600; ++i) {
        bigBytes += i ? ",ab" : "ab";
        bigData += i ? " AB" : "AB";
    }
    const std::string first =
        TempFile("kwpreview-first.reg",
                 Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Zeta]\n[HKEY_CURRENT_"
                      "USER\\Software\\alpha]\n"
                      "\"Text\"=\"hello\"\n\"Number\"=dword:ffffffff\n\"Big\"=hex:" +
                      bigBytes + "\n[HKEY_CURRENT_USER\\Software\\alpha\\Child]\n@=hex(0):\n"));
    const std::string broken =
        TempFile("kwpreview-broken.reg", Crlf("REGEDIT4\n\n[A]\n\"ok\"=\"1\"\n\"bad\"=dword:1\n"));
    const std::string second = TempFile(
        "kwpreview-second.reg",
        Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Second]\r\n"
                  "\"Only\"=\"here\"\r\n"));

    ForgetPreviewPlace();
    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return e2e::ExitCode();
    const DWORD process = editor.processId();
    RemoteMemory remote(process, kTextOffset + kTextChars * sizeof(wchar_t));

    Check(e2e::RunLauncher(launcher, "--preview \"" + first + "\"") == 0, "kwlaunch --preview");
    HWND preview = FindTopWindow(process, std::string(kTitle) + " - kwpreview-first.reg", false);
    Check(preview != nullptr, "the preview window shows the first file in its title");
    HWND tree = FindWindowExA(preview, nullptr, WC_TREEVIEWA, nullptr);
    HWND list = FindWindowExA(preview, nullptr, WC_LISTVIEWA, nullptr);
    // The title changes when loading begins; the tree fills when it ends.
    Check(WaitFor([&] { return SendTo(tree, TVM_GETCOUNT, 0, 0) > 0; }), "the tree fills");
    HTREEITEM root = NextItem(tree, TVGN_ROOT, nullptr);
    const std::string rootText = TreeItemText(tree, root, remote);
    Check(!rootText.empty() && rootText != "(unreadable)",
          "the root item reads \"" + rootText + "\"");
    HTREEITEM user = ChildNamed(tree, root, "HKEY_CURRENT_USER", remote);
    HTREEITEM software = user ? ChildNamed(tree, user, "Software", remote) : nullptr;
    const std::string keys = software ? Children(tree, software, remote) : "";
    Check(keys == "alpha|Zeta", "keys sorted whatever their order in the file (" + keys + ")");
    HTREEITEM alpha = ChildNamed(tree, software, "alpha", remote);
    SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(alpha));
    const std::string rows = ListRows(list, remote);
    Check(rows ==
              "(Default)=(value not set)|Big=" + bigData + "|Number=0xffffffff (-1)|Text=\"hello\"",
          "the key's values, sorted, a value of 600 bytes whole (" + rows.substr(0, 80) + "...)");
    HTREEITEM child = ChildNamed(tree, alpha, "Child", remote);
    SendTo(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    Check(ListRows(list, remote).empty(), "a default value of type 0 shows no row at all");
    std::string seen;
    const bool painted = e2e::LooksPainted(preview, &seen, "keywright_preview.bmp");
    Check(painted, "the preview window is painted (" + seen + ")");

    Check(e2e::RunLauncher(launcher, "--preview \"" + broken + "\"") == 0,
          "kwlaunch --preview broken");
    const std::string box = e2e::TakeMessageBox(process, kWaitMs);
    Check(box == "Invalid File Format : Line 5", "a broken file names its line (\"" + box + "\")");
    Check(IsWindow(preview) && SendTo(tree, TVM_GETCOUNT, 0, 0) == 0,
          "the window stays open and empty");

    Check(e2e::RunLauncher(launcher, "--preview \"" + second + "\"") == 0,
          "kwlaunch --preview second");
    const HWND reused =
        FindTopWindow(process, std::string(kTitle) + " - kwpreview-second.reg", false);
    Check(reused == preview, "the second file reuses the window");
    Check(WaitFor([&] { return SendTo(tree, TVM_GETCOUNT, 0, 0) > 0; }), "the tree fills again");
    root = NextItem(tree, TVGN_ROOT, nullptr);
    const std::string firstLevel = Children(tree, root, remote);
    Check(firstLevel == "HKEY_LOCAL_MACHINE", "only the second file's keys (" + firstLevel + ")");

    // Command 3020 asks for a file first, in a dialog with its title and first name.
    PostMessageA(editor.frame(), WM_COMMAND, kCmdPreview, 0);
    HWND ask = FindTopWindow(process, kTitle, false);
    HWND edit = nullptr;
    if (ask)
        EnumChildWindows(ask, FindEdit, reinterpret_cast<LPARAM>(&edit));
    Check(edit && e2e::WindowText(edit) == "Registry.re4",
          "the open-file dialog offers Registry.re4");
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(first.c_str()));
    PostMessageA(ask, WM_COMMAND, IDOK, 0);
    Check(FindTopWindow(process, std::string(kTitle) + " - kwpreview-first.reg", false) == preview,
          "the chosen file opens in the preview");

    // The bar follows the mouse: pressed, dragged 60 pixels right and let go.
    HWND splitter = FindWindowExA(preview, nullptr, "vlsplit", nullptr);
    RECT barBefore{}, barAfter{};
    GetWindowRect(splitter, &barBefore);
    Check(DragSplitter(preview, 60), "xdotool drags the bar");
    WaitFor([&] {
        GetWindowRect(splitter, &barAfter);
        return barAfter.left != barBefore.left;
    });
    Check(barAfter.left - barBefore.left == 60, "the splitter bar moved by the drag (" +
                                                    std::to_string(barAfter.left - barBefore.left) +
                                                    " pixels)");

    RECT before{};
    GetWindowRect(preview, &before);
    POINT bar{barAfter.left, barAfter.top};
    ScreenToClient(preview, &bar);
    PostMessageA(preview, WM_COMMAND, IDCANCEL, 0);
    Check(WaitFor([&] { return !IsWindow(preview); }), "Escape closes the preview");
    Check(ReadDword("PreviewX") == static_cast<DWORD>(before.left) &&
              ReadDword("PreviewY") == static_cast<DWORD>(before.top) &&
              ReadDword("PreviewDX") == static_cast<DWORD>(before.right) &&
              ReadDword("PreviewDY") == static_cast<DWORD>(before.bottom),
          "closing stores the window's edges");
    // The split lies two pixels right of the tree's edge, where the bar begins.
    Check(ReadDword("PreviewSplit") == static_cast<DWORD>(bar.x + 2),
          "closing stores the split (" + std::to_string(ReadDword("PreviewSplit")) + ")");

    editor.Close(kWaitMs);
    DeleteFileA(first.c_str());
    DeleteFileA(broken.c_str());
    DeleteFileA(second.c_str());
    return e2e::ExitCode();
}
