// Module paths from the system; the rules that derive names from them are portable
// (host/ModulePaths.h).
#include "host/win32/AddinPaths.h"

#include "host/ModulePaths.h"
#include "platform/win32/AnsiText.h"

#include <windows.h>

namespace keywright {

namespace {

constexpr wchar_t kAddinModule[] = L"keywright.dll";

std::wstring ModulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

std::wstring RunningProgramPath() {
    return ModulePath(nullptr);
}

std::wstring RunningProgramName() {
    return kestrix::WideFromAnsi(FileNameOfPath(kestrix::AnsiFromWide(RunningProgramPath())));
}

std::optional<std::wstring> AddinHelpPath() {
    HMODULE module = GetModuleHandleW(kAddinModule);
    if (!module)
        return std::nullopt;
    std::wstring path = ModulePath(module);
    if (path.empty())
        return std::nullopt;
    std::optional<std::string> help = HelpPathForModule(kestrix::AnsiFromWide(path));
    if (!help)
        return std::nullopt;
    return kestrix::WideFromAnsi(*help);
}

} // namespace keywright
