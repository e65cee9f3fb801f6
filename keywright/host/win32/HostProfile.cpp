// The two known editors: the system's own and Wine's, told apart by their windows.
#include "host/win32/HostProfile.h"

#include <commctrl.h>

namespace keywright {

namespace {

constexpr HostProfile kWindowsEditor = [] {
    HostProfile p;
    p.name = "windows";
    p.menuPosition = 3;
    p.acceleratorTable = 100;
    p.menuStatusPart = SB_SIMPLEID | SBT_NOBORDERS; // the simple part, without borders
    p.cmdSwitchPane = 640;
    p.cmdRefresh = 648;
    p.cmdHelp = 672;
    p.cmdDelete = 913;
    p.cmdRename = 914;
    p.cmdNewKey = 663;
    p.cmdNewString = 664;
    p.cmdNewDword = 674;
    p.cmdNewBinary = 665;
    return p;
}();

// Wine's editor keeps tree and list inside a "REGEDIT" child that splits them, and
// puts Edit, View and Favorites at positions 1 to 3, which it finds by position. Its
// menu help goes into the status bar's first part, not the simple one.
constexpr HostProfile kWineEditor = [] {
    HostProfile p;
    p.name = "wine";
    p.paneContainerClass = L"REGEDIT";
    p.sizeFrameFirst = true;
    p.menuPosition = 4;
    p.acceleratorTable = 109;
    p.menuStatusPart = 0;
    p.cmdSwitchPane = 32871;
    p.cmdRefresh = 32776;
    p.cmdHelp = 32794;
    p.cmdDelete = 32778;
    p.cmdRename = 32779;
    p.cmdNewKey = 32785;
    p.cmdNewString = 32786;
    p.cmdNewDword = 32788;
    p.cmdNewBinary = 32787;
    return p;
}();

constexpr wchar_t kTreeClass[] = L"SysTreeView32";
constexpr wchar_t kListClass[] = L"SysListView32";
constexpr wchar_t kStatusClass[] = L"msctls_statusbar32";
constexpr int kClassNameSize = 64;

bool ClassIs(HWND window, const wchar_t* name) {
    wchar_t buffer[kClassNameSize] = {};
    GetClassNameW(window, buffer, kClassNameSize);
    return lstrcmpiW(buffer, name) == 0;
}

void FindPanes(HWND parent, HostWindows* windows) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassIs(child, kTreeClass))
            windows->tree = child;
        else if (ClassIs(child, kListClass))
            windows->list = child;
        else if (ClassIs(child, kStatusClass))
            windows->statusBar = child;
    }
}

} // namespace

const HostProfile* DetectHost(HWND frame, HostWindows* windows) {
    *windows = HostWindows{};
    windows->frame = frame;
    FindPanes(frame, windows);
    const HostProfile* profile = &kWindowsEditor;
    windows->paneContainer = frame;
    if (!windows->tree || !windows->list) {
        for (HWND child = GetTopWindow(frame); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassIs(child, kWineEditor.paneContainerClass)) {
                FindPanes(child, windows);
                windows->paneContainer = child;
                profile = &kWineEditor;
                break;
            }
        }
    }
    if (!windows->tree || !windows->list)
        return nullptr;
    return profile;
}

} // namespace keywright
