// The settings backend over the system registry, and the saved places of windows.
#include "host/win32/AddinSettings.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "platform/win32/Win32Registry.h"
#include "settings/WindowPosition.h"

#include <algorithm>
#include <string>

namespace keywright {

const SettingsBackend& AddinSettings() {
    static kestrix::Win32Registry registry;
    static const SettingsBackend backend{
        &registry, [](const char* text) { ShowMessage(nullptr, text, Caption::None); },
        "Software\\Velmara\\Keywright\\"};
    return backend;
}

namespace {

constexpr std::size_t kPositionText = 64;

// The desktop across all monitors.
ScreenRect VirtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return kestrix::RectAt(left, top, GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

} // namespace

void PlaceSavedWindow(HWND window, std::uint32_t positionSetting, POINT minimum) {
    char text[kPositionText] = "-1 -1 -1 -1";
    ReadSetting(AddinSettings(), positionSetting, text, sizeof text);
    ScreenRect saved;
    if (ParseWindowPosition(text, &saved) && ShowsOnScreen(VirtualScreen(), saved)) {
        MoveWindow(window, saved.left, saved.top,
                   std::max<int>(saved.right - saved.left, minimum.x),
                   std::max<int>(saved.bottom - saved.top, minimum.y), FALSE);
        return;
    }
    RECT owner{}, own{};
    GetWindowRect(window, &own);
    HWND frame = Addin().editor.frame;
    if (!frame || !GetWindowRect(frame, &owner))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &owner, 0);
    ScreenRect placed = CentreOver(ScreenRect{owner.left, owner.top, owner.right, owner.bottom},
                                   ScreenRect{own.left, own.top, own.right, own.bottom});
    SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SaveWindowPlace(HWND window, std::uint32_t positionSetting) {
    RECT r{};
    // A minimised window's rectangle is its parking place far off the screen; the
    // place it had before stays saved.
    if (IsIconic(window) || !GetWindowRect(window, &r))
        return;
    std::string text = FormatWindowPosition(ScreenRect{r.left, r.top, r.right, r.bottom});
    WriteSetting(AddinSettings(), positionSetting, text.c_str(),
                 static_cast<std::uint32_t>(text.size() + 1));
}

} // namespace keywright
