// The release as installed, run from its own folder: every program and the DLL carry
// the release's version, kwlaunch puts the installed keywright into the registry editor
// and sends it to a key, and Sorbex.exe opens a result file named on its command line
// (made by the installed command line). With --snapshot it writes the registry trees an
// installer for one user can touch to FILE instead, one key or value a line, for the
// comparison before and after.
//   release_installed_test INSTALL_FOLDER VERSION SAMPLES
//   release_installed_test --snapshot FILE
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "EditorSession.h"
#include "SorbexDriver.h"

namespace {

using e2e::Check;

constexpr DWORD kCloseTimeoutMs = 30000;
constexpr int kToolbarButtons = 14;
constexpr int kToolbarId = 1004;
constexpr char kLocation[] = "reg:HKCU\\Software";
constexpr char kLocationStatusEnd[] = "HKEY_CURRENT_USER\\Software";
constexpr char kResultName[] = "release-e2e.sbx";

// The version resource's fixed part and its product version text, as "a.b.c / a.b.c".
std::string VersionOf(const std::string& file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0)
        return "(no version resource)";
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data()))
        return "(unreadable version resource)";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return "(no fixed version)";
    // The strings stand under the first language and code page the resource names.
    WORD* translation = nullptr;
    std::string product = "(no product version)";
    if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        translation && length >= 2 * sizeof(WORD)) {
        char path[64] = {};
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\ProductVersion",
                      translation[0], translation[1]);
        char* text = nullptr;
        if (VerQueryValueA(data.data(), path, reinterpret_cast<void**>(&text), &length) && text)
            product = text;
    }
    return std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
           std::to_string(HIWORD(fixed->dwFileVersionLS)) + " / " + product;
}

void CheckVersions(const std::string& folder, const std::string& version) {
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    int checked = 0;
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        std::string name = found.cFileName;
        std::string extension = name.size() > 4 ? name.substr(name.size() - 4) : "";
        if (lstrcmpiA(extension.c_str(), ".exe") != 0 && lstrcmpiA(extension.c_str(), ".dll") != 0)
            continue;
        std::string seen = VersionOf(folder + "\\" + name);
        Check(seen == version + " / " + version, name + " carries version " + version + " (" +
                                                       seen + ")");
        ++checked;
    }
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    Check(checked >= 6, "the programs and the DLL were found (" + std::to_string(checked) + ")");
}

void CheckAddin(const std::string& folder) {
    const std::string launcher = folder + "\\kwlaunch.exe";
    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return;
    HWND toolbar = FindWindowExA(editor.frame(), nullptr, TOOLBARCLASSNAMEA, nullptr);
    LRESULT buttons = toolbar ? SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) : 0;
    Check(buttons == kToolbarButtons && GetDlgCtrlID(toolbar) == kToolbarId,
          "the installed add-in put its toolbar into the editor (" + std::to_string(buttons) +
              " buttons)");
    Check(e2e::RunLauncher(launcher, kLocation) == 0, std::string("kwlaunch ") + kLocation);
    e2e::ExpectStatus(editor.frame(), kLocationStatusEnd, "the add-in goes to the key");
    editor.Close(kCloseTimeoutMs);
}

void CheckSorbex(const std::string& folder, const std::string& samples) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string results = std::string(temp) + kResultName;
    DeleteFileA(results.c_str());
    e2e::Program made = e2e::StartProgram("\"" + folder + "\\sorbexc.exe\" list -d \"" + samples +
                                          "\" -m *.txt --save=\"" + results + "\"");
    Check(made.process && e2e::WaitForExit(made, e2e::kSorbexStartTimeoutMs) == 0,
          "the installed sorbexc.exe made a result file");

    e2e::Program sorbex = e2e::StartProgram("\"" + folder + "\\Sorbex.exe\" \"" + results + "\"");
    Check(sorbex.process != nullptr, "the installed Sorbex.exe started");
    HWND frame = nullptr;
    const std::string title = std::string(kResultName) + " - Sorbex";
    e2e::WaitFor(e2e::kSorbexStartTimeoutMs, [&] {
        frame = e2e::FindWindowOf(sorbex.id, e2e::kFrameClass);
        return frame && e2e::WindowText(frame) == title;
    });
    Check(frame != nullptr && e2e::WindowText(frame) == title,
          "Sorbex.exe opened the result file from its command line: \"" +
              e2e::WindowText(frame) + "\"");
    LRESULT pages =
        frame ? SendMessageA(e2e::ChildWithId(frame, e2e::kPageRow), TCM_GETITEMCOUNT, 0, 0) : 0;
    Check(pages == 1, "with its one page (" + std::to_string(pages) + ")");
    if (frame)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    Check(e2e::WaitForExit(sorbex, e2e::kSorbexStartTimeoutMs) == 0,
          "an unchanged document closes at once");
    DeleteFileA(results.c_str());
}

// Tabs and line ends in names and data would split a line.
std::string Escaped(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size,
                        nullptr, nullptr);
    std::string escaped;
    for (char c : utf8) {
        if (c == '\t' || c == '\n' || c == '\r' || c == '\\') {
            escaped += '\\';
            escaped += c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// A value's data: strings as text, everything else in hexadecimal.
std::string DataText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return Escaped(text);
    }
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (DWORD i = 0; i < size; ++i) {
        hex += kDigits[data[i] >> 4];
        hex += kDigits[data[i] & 15];
    }
    return hex;
}

// The machine's COM registrations hold most of its classes' keys; this release registers
// no COM class, and walking them would take most of the test's time under Wine, so only
// the keys themselves are listed.
bool IsComRegistry(const std::wstring& path) {
    for (const wchar_t* name : {L"Software\\Classes\\CLSID", L"Software\\Classes\\Interface",
                                L"Software\\Classes\\TypeLib", L"Software\\Classes\\AppID",
                                L"Software\\Classes\\Wow6432Node"})
        if (lstrcmpiW(path.c_str(), name) == 0)
            return true;
    return false;
}

// Writes "K<TAB>path" for the key and "V<TAB>path<TAB>name<TAB>type<TAB>data" for each
// value, then the same for every subkey.
void WriteTree(std::ofstream& out, HKEY root, const std::wstring& path, const std::string& shown) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.empty() ? nullptr : path.c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return;
    out << "K\t" << shown << "\n";
    if (root == HKEY_LOCAL_MACHINE && IsComRegistry(path)) {
        RegCloseKey(key);
        return;
    }
    std::vector<wchar_t> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD index = 0;;) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG status = RegEnumValueW(key, index, name.data(), &nameSize, nullptr, &type,
                                    data.data(), &dataSize);
        if (status == ERROR_MORE_DATA && dataSize > data.size()) {
            data.resize(dataSize); // the same value again, with room for its data
            continue;
        }
        if (status != ERROR_SUCCESS)
            break;
        out << "V\t" << shown << "\t" << Escaped(std::wstring(name.data(), nameSize)) << "\t"
            << type << "\t" << DataText(type, data, dataSize) << "\n";
        ++index;
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &nameSize, nullptr, nullptr, nullptr,
                          nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name.data(), nameSize);
    }
    RegCloseKey(key);
    for (const std::wstring& subkey : subkeys)
        WriteTree(out, root, path.empty() ? subkey : path + L"\\" + subkey,
                  shown + Escaped(L"\\" + subkey));
}

int WriteSnapshot(const char* file) {
    std::ofstream out(file, std::ios::binary);
    WriteTree(out, HKEY_CURRENT_USER, L"", "HKEY_CURRENT_USER");
    // What HKEY_CLASSES_ROOT shows of the machine.
    WriteTree(out, HKEY_LOCAL_MACHINE, L"Software\\Classes",
              Escaped(L"HKEY_LOCAL_MACHINE\\Software\\Classes"));
    out.close();
    return out ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--snapshot")
        return WriteSnapshot(argv[2]);
    if (argc != 4) {
        std::fprintf(stderr, "usage: release_installed_test INSTALL_FOLDER VERSION SAMPLES\n"
                             "       release_installed_test --snapshot FILE\n");
        return 2;
    }
    const std::string folder = e2e::WindowsPath(argv[1]);
    CheckVersions(folder, argv[2]);
    CheckAddin(folder);
    CheckSorbex(folder, e2e::WindowsPath(argv[3]));
    return e2e::ExitCode();
}
