// The preview command: the open-file dialog that asks for a registry file, with the
// filter list of the string table.
#include "host/win32/AddinMessageBox.h"
#include "platform/win32/AnsiText.h"
#include "preview/FileFilter.h"
#include "preview/win32/PreviewWindow.h"
#include "strings/KeywrightStrings.h"

#include <commdlg.h>

#include <optional>

namespace keywright {

namespace {

using kestrix::WideFromAnsi;

constexpr DWORD kPathBufferSize = MAX_PATH + 1;

// A path the 8-bit file functions can open: the long name when the code page holds it,
// else the short one, which is plain ASCII.
std::string ProgramPath(const std::wstring& path) {
    bool lossless = true;
    std::string narrow = kestrix::AnsiFromWide(path, &lossless);
    if (lossless)
        return narrow;
    wchar_t shortPath[kPathBufferSize] = {};
    if (GetShortPathNameW(path.c_str(), shortPath, kPathBufferSize) > 0)
        return kestrix::AnsiFromWide(shortPath);
    return narrow;
}

} // namespace

void RunPreviewCommand(const PreviewHost& host) {
    const char* text = KeywrightString(kStrPreviewFileFilter);
    const std::optional<std::string> filter = OpenFileFilter(text ? text : "");
    if (!filter) {
        ShowAddinMessage(host.editorFrame, KeywrightString(kStrFileFilterMissing));
        return;
    }
    const std::wstring wideFilter = WideFromAnsi(*filter);
    const std::wstring title = WideFromAnsi(KeywrightString(kStrPreviewDialogTitle));
    std::wstring path = WideFromAnsi(KeywrightString(kStrPreviewInitialFile));
    path.resize(kPathBufferSize, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = host.editorFrame;
    dialog.lpstrFilter = wideFilter.c_str();
    dialog.lpstrFile = &path[0];
    dialog.nMaxFile = kPathBufferSize;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&dialog))
        return;
    OpenPreview(host, ProgramPath(path.c_str()));
}

} // namespace keywright
