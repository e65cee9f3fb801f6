// End to end: command 3019 opens the replacement wizard in the registry editor after
// its warning; driven through its four steps by the texts of its controls, it
// replaces a text in key names, value names and string data of a scratch tree, and
// Undo gives the tree back byte for byte.
//   keywright_wizard_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "EditorSession.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;

constexpr DWORD kWaitMs = 60000;
constexpr WPARAM kCmdReplace = 3019;
constexpr int kIdFind = 1006;
constexpr int kIdReplace = 1007;
constexpr char kScratch[] = "Software\\KestrixWizardE2E";
constexpr char kTitle[] = "Registry Replacement Wizard - Step ";
// Unique per run, so that nothing an earlier run left can match.
const std::string kOld = "kwold" + std::to_string(GetTickCount());
const std::string kNew = "KwNew";

template <typename Condition> bool WaitFor(Condition condition) {
    return e2e::WaitFor(kWaitMs, condition);
}

std::string Text(HWND window) {
    return e2e::WindowText(window);
}

// Every key (as an entry of type REG_NONE with no bytes) and value below a key, by
// relative path, with type and bytes.
using Tree = std::map<std::string, std::pair<DWORD, std::string>>;

void Collect(HKEY key, const std::string& prefix, Tree* tree) {
    for (DWORD i = 0;; ++i) {
        char name[16384];
        std::vector<BYTE> data(65536);
        DWORD nameSize = sizeof name, dataSize = DWORD(data.size()), type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize))
            break;
        (*tree)[prefix + ":" + name] = {type, std::string(data.begin(), data.begin() + dataSize)};
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr))
            break;
        HKEY child = nullptr;
        if (RegOpenKeyExA(key, name, 0, KEY_READ, &child))
            continue;
        (*tree)[prefix + "\\" + name] = {REG_NONE, ""};
        Collect(child, prefix + "\\" + name, tree);
        RegCloseKey(child);
    }
}

Tree TakeTree() {
    Tree tree;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        Collect(key, "", &tree);
        RegCloseKey(key);
    }
    return tree;
}

std::string Describe(const Tree& tree) {
    std::string text;
    for (const auto& [name, value] : tree) {
        text += "  " + name + " (" + std::to_string(value.first) + "):";
        for (unsigned char c : value.second) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", c);
            text += hex;
        }
        text += "\n";
    }
    return text;
}

void SetValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   DWORD(bytes.size()));
}

void SetDword(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

std::string Nul(const std::string& text) {
    return text + std::string(1, '\0');
}

// The scratch tree, with the old text in key names, a value name and string data of
// three types, and in binary data that must stay as it is. Returns the tree as the
// wizard should leave it.
Tree PrepareRegistry() {
    const std::string sub = std::string(kScratch) + "\\" + kOld + "-key\\sub " + kOld;
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    SetValue(key, "Setting", REG_SZ, Nul("plain"));
    RegCloseKey(key);
    RegCreateKeyExA(HKEY_CURRENT_USER, kScratch, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    SetValue(key, kOld + "-value", REG_SZ, Nul("unchanged"));
    SetValue(key, "Sz", REG_SZ, Nul("C:\\" + kOld + "\\bin"));
    SetValue(key, "Expand", REG_EXPAND_SZ, Nul("%SystemRoot%\\" + kOld));
    SetValue(key, "Multi", REG_MULTI_SZ, Nul(Nul("first") + Nul("with " + kOld) + Nul(kOld)));
    SetValue(key, "Binary", REG_BINARY, kOld);
    RegCloseKey(key);

    // The whole of HKEY_CURRENT_USER, and nothing else.
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmara\\Keywright\\Replace", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    for (const char* on : {"SearchAll", "RenameKeys", "RenameValues", "RenameData", "HKCU"})
        SetDword(key, on, 1);
    for (const char* off : {"MatchCase", "WholeString", "HKCR", "HKLM", "HKU", "HKCC", "HKDD"})
        SetDword(key, off, 0);
    RegCloseKey(key);

    const std::string top = "\\" + kNew + "-key";
    return Tree{
        {top, {REG_NONE, ""}},
        // Its row is removed in step 3.
        {top + "\\sub " + kOld, {REG_NONE, ""}},
        {top + "\\sub " + kOld + ":Setting", {REG_SZ, Nul("plain")}},
        {":" + kNew + "-value", {REG_SZ, Nul("unchanged")}},
        {":Sz", {REG_SZ, Nul("C:\\" + kNew + "\\bin")}},
        {":Expand", {REG_EXPAND_SZ, Nul("%SystemRoot%\\" + kNew)}},
        {":Multi", {REG_MULTI_SZ, Nul(Nul("first") + Nul("with " + kNew) + Nul(kNew))}},
        {":Binary", {REG_BINARY, kOld}},
    };
}

void RemoveScratch() {
    e2e::DeleteKeyTree(HKEY_CURRENT_USER, kScratch);
}

HWND ChildWithText(HWND parent, const std::string& text) {
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr))
        if (Text(child) == text)
            return child;
    return nullptr;
}

void Press(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

// Dialogs of the editor's process with this caption.
HWND FindDialog(const std::string& caption) {
    return FindWindowA("#32770", caption.c_str());
}

// A list view's cell in another process: the item record and the text buffer go
// into that process's memory, since the message carries pointers.
std::string CellText(HWND list, int row, int column) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, pid);
    if (!process)
        return "?";
    constexpr SIZE_T kTextSize = 512;
    auto* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kTextSize,
                                                     MEM_COMMIT, PAGE_READWRITE));
    std::string text = "?";
    if (remote) {
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kTextSize;
        char buffer[kTextSize] = {};
        if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
            SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote)) >= 0 &&
            ReadProcessMemory(process, remote + sizeof(LVITEMA), buffer, kTextSize - 1, nullptr))
            text = buffer;
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    return text;
}

// Column 2 of every row, joined by commas.
std::string AppliedColumn(HWND list) {
    std::string texts;
    LRESULT rows = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int row = 0; row < rows; ++row)
        texts += (row ? "," : "") + CellText(list, row, 2);
    return texts;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_wizard_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    // Each line as it happens, so that a test that runs out of time shows where.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    RemoveScratch();
    const Tree expected = PrepareRegistry();
    const Tree original = TakeTree();
    e2e::EditorSession editor;
    if (!editor.Start(e2e::WindowsPath(argv[1]))) {
        RemoveScratch();
        return 1;
    }
    const DWORD started = GetTickCount();

    // The warning first; OK opens the wizard.
    PostMessageA(editor.frame(), WM_COMMAND, kCmdReplace, 0);
    HWND warning = nullptr;
    Check(WaitFor([&] { return (warning = FindDialog("Velmara Keywright")) != nullptr; }),
          "command 3019 shows the warning");
    if (warning) {
        HWND text = ChildWithText(warning, std::string("Making incorrect changes to the registry "
                                                       "can cause serious problems, including "
                                                       "corruption that may require reinstalling "
                                                       "Windows. If you make mistakes, your "
                                                       "computer's configuration could be "
                                                       "damaged.  You should edit registry "
                                                       "entries only for settings that you "
                                                       "cannot adjust through the user "
                                                       "interface, and be very careful whenever "
                                                       "you edit the registry directly.  Always "
                                                       "make a backup before making significant "
                                                       "changes."));
        Check(text != nullptr, "the warning holds the three texts");
        Press(GetDlgItem(warning, IDOK));
    }
    HWND wizard = nullptr;
    Check(WaitFor([&] { return (wizard = FindDialog(kTitle + std::string("1"))) != nullptr; }),
          "OK opens the wizard at step 1");
    if (wizard) {
        HWND next = ChildWithText(wizard, "&Next >");
        HWND back = ChildWithText(wizard, "< &Back");
        HWND close = ChildWithText(wizard, "&Cancel");
        Check(next && back && close, "the wizard has its Next, Back and Cancel buttons");
        SendMessageA(GetDlgItem(wizard, kIdFind), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(kOld.c_str()));
        SendMessageA(GetDlgItem(wizard, kIdReplace), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(kNew.c_str()));

        // Step 2: the search, until its state label says it completed.
        Press(next);
        Check(WaitFor([&] { return Text(wizard) == kTitle + std::string("2"); }),
              "Next goes to step 2");
        Check(WaitFor([&] { return ChildWithText(wizard, "Search Completed") != nullptr; }),
              "the search completes");
        HWND list = FindWindowExA(wizard, nullptr, WC_LISTVIEWA, nullptr);
        LRESULT rows = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        // Two keys, one value name, three strings; the binary value is never a hit.
        Check(rows == 6, "six changes are proposed (" + std::to_string(rows) + ")");
        // Post-order: the subkey's row before its parent's, then the scratch key's values.
        const std::string path = "\\HKEY_CURRENT_USER\\" + std::string(kScratch) + "\\";
        std::string first = CellText(list, 0, 0), second = CellText(list, 1, 0);
        Check(e2e::EndsWith(first, path + kOld + "-key\\sub " + kNew) &&
                  e2e::EndsWith(second, path + kNew + "-key") && CellText(list, 0, 1) == "Key",
              "the key rows come first, the subkey before its parent (" + first + ", " + second +
                  ")");

        // Step 3: the review with its detail window.
        Press(next);
        Check(WaitFor([&] { return Text(wizard) == kTitle + std::string("3"); }),
              "Next goes to step 3");
        HWND remove = ChildWithText(wizard, "&Remove");
        Check(remove && IsWindowVisible(remove), "step 3 shows Remove");
        std::string seen;
        bool painted = e2e::LooksPainted(wizard, &seen, "keywright_wizard.bmp");
        Check(painted, "the wizard is painted on the screen (" + seen + ")");
        // Step 3 selects the first row, the subkey's: Remove takes it out, and the row
        // now first, its parent's, is selected.
        Check(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) == 0,
              "step 3 selects the first row");
        Press(remove);
        Check(WaitFor([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 5; }),
              "Remove takes the selected row out");
        Check(e2e::EndsWith(CellText(list, 0, 0), path + kNew + "-key") &&
                  SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) == 0,
              "the row now in its place is selected");

        // Step 4: apply.
        Press(next);
        Check(WaitFor([&] { return Text(wizard) == kTitle + std::string("4"); }),
              "Next goes to step 4");
        HWND apply = ChildWithText(wizard, "&Apply");
        HWND undo = ChildWithText(wizard, "&Undo");
        Check(apply && undo && IsWindowEnabled(apply) && !IsWindowEnabled(undo),
              "step 4 offers Apply, not Undo");
        Press(apply);
        Check(WaitFor([&] { return undo && IsWindowEnabled(undo) && !IsWindowEnabled(apply); }),
              "after Apply, Undo is offered");
        Check(Text(close) == "&Done" && !IsWindowEnabled(back), "Done, and no way back");
        std::string column = AppliedColumn(list);
        Check(column == "Yes,Yes,Yes,Yes,Yes", "every row is applied (" + column + ")");
        Tree applied = TakeTree();
        Check(applied == expected, "the registry holds exactly the replacements");
        if (applied != expected)
            std::printf("expected:\n%sfound:\n%s", Describe(expected).c_str(),
                        Describe(applied).c_str());

        Press(undo);
        Check(WaitFor([&] { return IsWindowEnabled(apply) && !IsWindowEnabled(undo); }),
              "after Undo, Apply is offered again");
        column = AppliedColumn(list);
        Check(column == "Undone,Undone,Undone,Undone,Undone",
              "every row is undone (" + column + ")");
        Tree undone = TakeTree();
        Check(undone == original, "Undo gives the registry back byte for byte");
        if (undone != original)
            std::printf("expected:\n%sfound:\n%s", Describe(original).c_str(),
                        Describe(undone).c_str());

        Press(close);
        Check(WaitFor([&] { return !IsWindow(wizard); }), "Done closes the wizard");
    }
    std::printf("wizard walk: %lu ms\n", static_cast<unsigned long>(GetTickCount() - started));
    editor.Close(kWaitMs);
    RemoveScratch();
    return e2e::ExitCode();
}
