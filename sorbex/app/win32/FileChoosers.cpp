// The system's dialogs for choosing files and folders, and opening a file with the
// application registered for it.
#include "app/win32/FileChoosers.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include "app/DefinitionRules.h"
#include "app/win32/WideText.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// Room for many names at once.
constexpr std::size_t kChosenFilesBuffer = 64 * 1024;

// "description\0pattern\0...\0\0" as the dialogs take their filters.
std::wstring FilterText(const std::vector<std::pair<std::string, std::string>>& filters) {
    std::wstring text;
    for (const auto& filter : filters) {
        text += Wide(filter.first);
        text += L'\0';
        text += Wide(filter.second);
        text += L'\0';
    }
    text += L'\0';
    return text;
}

// The document type string: title, name, file-new name, filter name, extension, ...
std::vector<std::string> DocumentTypeParts() {
    std::vector<std::string> parts(1);
    for (const char* c = SorbexString(IDS_RESULT_DOCUMENT_TYPE); *c; ++c) {
        if (*c == '\n')
            parts.emplace_back();
        else
            parts.back() += *c;
    }
    return parts;
}

int CALLBACK StartFolder(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

} // namespace

std::vector<std::string> ChooseFiles(HWND owner, const std::string& folder) {
    std::vector<wchar_t> buffer(kChosenFilesBuffer, L'\0');
    const std::wstring filters = FilterText(FileChooserFilters());
    const std::wstring title = Wide(SorbexString(IDS_SELECT_FILES));
    const std::wstring start = Wide(folder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                   OFN_NOCHANGEDIR;
    std::vector<std::string> parts;
    if (!GetOpenFileNameW(&dialog))
        return parts;
    // Names separated by zeros, the list ended by two.
    for (const wchar_t* part = buffer.data(); *part; part += wcslen(part) + 1)
        parts.push_back(Narrow(part));
    return parts;
}

std::string ChooseFolder(HWND owner, const std::string& folder) {
    const std::wstring title = Wide(SorbexString(IDS_SELECT_DIRECTORY));
    std::wstring start = Wide(folder);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = StartFolder;
    browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST chosen = SHBrowseForFolderW(&browse);
    if (!chosen)
        return std::string();
    wchar_t path[MAX_PATH] = {};
    const BOOL ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? Narrow(path) : std::string();
}

std::string ChooseResultFile(HWND owner, bool save, const std::string& current) {
    const std::vector<std::string> type = DocumentTypeParts();
    const std::string filterName = type.size() > 3 ? type[3] : std::string();
    const std::string extension = type.size() > 4 ? type[4] : std::string();
    const std::wstring filters =
        FilterText({{filterName, "*" + extension}, FileChooserFilters().front()});
    std::vector<wchar_t> buffer(MAX_PATH * 4, L'\0');
    const std::wstring name = Wide(current);
    name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
    const std::wstring defaultExtension = Wide(extension.empty() ? "" : extension.substr(1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL ok = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return ok ? Narrow(buffer.data()) : std::string();
}

long OpenWithRegisteredApplication(HWND owner, const std::string& path) {
    const HINSTANCE result =
        ShellExecuteW(owner, nullptr, Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

} // namespace sorbex
