// The profile file through the system's profile functions, and the system's answers to
// where the profile is kept.
#include "app/win32/Win32Profile.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "app/win32/WideText.h"

namespace sorbex {
namespace {

// Stands for a missing key: the default that the profile function hands back. No value
// the program writes holds these control characters.
constexpr wchar_t kMissing[] = L"\x01missing\x01";

std::string WithBackslash(std::string directory) {
    if (!directory.empty() && directory.back() != '\\')
        directory += '\\';
    return directory;
}

} // namespace

bool CWin32ProfileStore::Read(const std::string& section, const std::string& key,
                              std::string& value) {
    const std::wstring file = Wide(path_);
    const std::wstring sectionName = Wide(section);
    const std::wstring keyName = Wide(key);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length =
            GetPrivateProfileStringW(sectionName.c_str(), keyName.c_str(), kMissing, buffer.data(),
                                     static_cast<DWORD>(buffer.size()), file.c_str());
        // A value that filled the buffer may have been cut: read it again with more room.
        if (length + 1 < buffer.size() || buffer.size() >= 1 << 20) {
            const std::wstring text(buffer.data(), length);
            if (text == kMissing)
                return false;
            value = Narrow(text);
            return true;
        }
        buffer.resize(buffer.size() * 4);
    }
}

void CWin32ProfileStore::Write(const std::string& section, const std::string& key,
                               const std::string& value) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                               Wide(path_).c_str());
}

void CWin32ProfileStore::Remove(const std::string& section, const std::string& key) {
    WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), nullptr,
                               Wide(path_).c_str());
}

CWin32ProfilePlaces::CWin32ProfilePlaces() {
    wchar_t path[MAX_PATH] = {};
    if (GetWindowsDirectoryW(path, MAX_PATH))
        windows_ = WithBackslash(Narrow(path));
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        appData_ = WithBackslash(Narrow(path));
}

bool CWin32ProfilePlaces::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CWin32ProfilePlaces::CanWrite(const std::string& path) {
    // Opening for writing changes nothing; with the program's manifest the system
    // refuses it in protected places instead of redirecting it.
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool CWin32ProfilePlaces::MakeDirectories(const std::string& directory) {
    std::string path = directory;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::size_t slash = path.rfind('\\');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash)))
        return false;
    return CreateDirectoryW(Wide(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool CWin32ProfilePlaces::CopyExisting(const std::string& from, const std::string& to) {
    return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), TRUE) != 0;
}

CProfileLocation SystemProfileLocation() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    CWin32ProfilePlaces places;
    return ChooseProfileLocation(places, ProfileFileName(Narrow(program)));
}

} // namespace sorbex
