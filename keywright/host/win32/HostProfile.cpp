// The two known editors: the system's own and Wine's, told apart by their windows.
#include "host/win32/HostProfile.h"

namespace keywright {

namespace {

constexpr HostProfile kWindowsEditor = {
    "windows", nullptr, false, 3, 100, 0x1FF, 640, 648, 672, 913, 914, 663, 664, 674, 665,
    {201, 203, 204, 205, 206},
};

// Wine's editor keeps tree and list inside a "REGEDIT" child that splits them, and
// puts Edit, View and Favorites at positions 1 to 3, which it finds by position. Its
// menu help goes into the status bar's first part, not the simple one.
constexpr HostProfile kWineEditor = {
    "wine", "REGEDIT", true,  4,     109,   0,     32871, 32776,
    32794,  32778,     32779, 32785, 32786, 32788, 32787,
    {134, 133, 132, 135, 136},
};

bool ClassIs(HWND window, const char* name) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return lstrcmpiA(buffer, name) == 0;
}

void FindPanes(HWND parent, HostWindows* windows) {
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassIs(child, "SysTreeView32"))
            windows->tree = child;
        else if (ClassIs(child, "SysListView32"))
            windows->list = child;
        else if (ClassIs(child, "msctls_statusbar32"))
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
