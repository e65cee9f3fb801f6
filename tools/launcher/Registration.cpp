// The reg: scheme under HKCU\Software\Classes: a URL protocol key whose open command
// runs kwlaunch with the link as its one argument.
#include "Registration.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace kwlaunch {

namespace {

constexpr char kSchemeKey[] = "Software\\Classes\\reg";
constexpr char kCommandKey[] = "Software\\Classes\\reg\\shell\\open\\command";

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

bool SetText(const char* keyPath, const char* name, const std::string& value, std::string* error) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &key, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }
    if (status != ERROR_SUCCESS)
        *error = std::string("cannot write HKCU\\") + keyPath + " (error " +
                 std::to_string(status) + ")";
    return status == ERROR_SUCCESS;
}

std::string RegisteredCommand() {
    char text[2 * MAX_PATH] = {};
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kCommandKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
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

} // namespace

bool RegisterUrlHandler(std::string* error) {
    std::string program = OwnPath();
    if (program.empty()) {
        *error = "cannot find this program's own path";
        return false;
    }
    return SetText(kSchemeKey, nullptr, "URL:reg Protocol", error) &&
           SetText(kSchemeKey, "URL Protocol", "", error) &&
           SetText("Software\\Classes\\reg\\DefaultIcon", nullptr, program + ",0", error) &&
           SetText(kCommandKey, nullptr, CommandFor(program), error);
}

bool UnregisterUrlHandler(std::string* error) {
    std::string command = RegisteredCommand();
    if (command.empty())
        return true; // nothing registered
    if (Lower(command) != Lower(CommandFor(OwnPath()))) {
        *error = "reg: links are handled by another program (" + command + "); left as it is";
        return false;
    }
    // Deepest keys first: a key with subkeys cannot be deleted.
    for (const char* path :
         {kCommandKey, "Software\\Classes\\reg\\shell\\open", "Software\\Classes\\reg\\shell",
          "Software\\Classes\\reg\\DefaultIcon", kSchemeKey}) {
        LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, path);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
            *error = std::string("cannot delete HKCU\\") + path + " (error " +
                     std::to_string(status) + ")";
            return false;
        }
    }
    return true;
}

} // namespace kwlaunch
