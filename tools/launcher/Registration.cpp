// The reg: scheme: a URL protocol key whose open command runs kwlaunch with the link as
// its one argument. It is the current user's (HKCU\Software\Classes\reg), which the
// shell of Windows sees through HKEY_CLASSES_ROOT. A shell that does not merge the
// user's classes into that view (Wine's) finds it only when the same keys stand under
// HKEY_CLASSES_ROOT\reg itself, so they are written there too, and only then.
#include "Registration.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace kwlaunch {

namespace {

// One place where the scheme's keys can live.
struct SchemeRoot {
    HKEY root;
    const char* rootName;
    const char* base; // the scheme's key below the root
};

const SchemeRoot kUserClasses{HKEY_CURRENT_USER, "HKCU", "Software\\Classes\\reg"};
const SchemeRoot kShellClasses{HKEY_CLASSES_ROOT, "HKCR", "reg"};

// The scheme's subkeys, deepest first: a key with subkeys cannot be deleted.
constexpr const char* kSubkeys[] = {"\\shell\\open\\command", "\\shell\\open", "\\shell",
                                    "\\DefaultIcon", ""};
constexpr char kCommandSubkey[] = "\\shell\\open\\command";

std::string OwnPath() {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length < MAX_PATH ? std::string(path, length) : std::string();
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string KeyName(const SchemeRoot& where, const char* subkey) {
    return std::string(where.rootName) + "\\" + where.base + subkey;
}

bool SetText(const SchemeRoot& where, const char* subkey, const char* name,
             const std::string& value, std::string* error) {
    std::string path = std::string(where.base) + subkey;
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(where.root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        *error = "cannot write " + KeyName(where, subkey) + " (error " + std::to_string(status) +
                 ")";
    return status == ERROR_SUCCESS;
}

std::string RegisteredCommand(const SchemeRoot& where) {
    char text[2 * MAX_PATH] = {};
    std::string path = std::string(where.base) + kCommandSubkey;
    HKEY key = nullptr;
    if (RegOpenKeyExA(where.root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = sizeof text - 1;
    LONG status =
        RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_SZ ? std::string(text) : std::string();
}

std::string CommandFor(const std::string& program) {
    return "\"" + program + "\" \"%1\"";
}

bool IsOurs(const std::string& command, const std::string& program) {
    return Lower(command) == Lower(CommandFor(program));
}

bool WriteScheme(const SchemeRoot& where, const std::string& program, std::string* error) {
    return SetText(where, "", nullptr, "URL:reg Protocol", error) &&
           SetText(where, "", "URL Protocol", "", error) &&
           SetText(where, "\\DefaultIcon", nullptr, program + ",0", error) &&
           SetText(where, kCommandSubkey, nullptr, CommandFor(program), error);
}

// Removes the scheme's keys at `where` when they name this program; nothing there is
// success, another program's registration is left alone and reported.
bool RemoveScheme(const SchemeRoot& where, const std::string& program, std::string* error) {
    std::string command = RegisteredCommand(where);
    if (command.empty())
        return true;
    if (!IsOurs(command, program)) {
        *error = "reg: links are handled by another program (" + command + "); left as it is";
        return false;
    }
    for (const char* subkey : kSubkeys) {
        std::string path = std::string(where.base) + subkey;
        LONG status = RegDeleteKeyA(where.root, path.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            *error = "cannot delete " + KeyName(where, subkey) + " (error " +
                     std::to_string(status) + ")";
            return false;
        }
    }
    return true;
}

} // namespace

bool RegisterUrlHandler(std::string* error) {
    std::string program = OwnPath();
    if (program.empty()) {
        *error = "cannot find this program's own path";
        return false;
    }
    if (!WriteScheme(kUserClasses, program, error))
        return false;
    if (IsOurs(RegisteredCommand(kShellClasses), program))
        return true; // the shell sees the user's registration
    if (!WriteScheme(kShellClasses, program, error)) {
        *error = "the shell does not see HKCU\\Software\\Classes\\reg, and " + *error;
        return false;
    }
    return true;
}

bool UnregisterUrlHandler(std::string* error) {
    std::string program = OwnPath();
    // The user's keys first: where the shell merges them, its view then shows what
    // stands below them, which is ours to remove only if it names this program too.
    return RemoveScheme(kUserClasses, program, error) &&
           (IsOurs(RegisteredCommand(kShellClasses), program)
                ? RemoveScheme(kShellClasses, program, error)
                : true);
}

} // namespace kwlaunch
