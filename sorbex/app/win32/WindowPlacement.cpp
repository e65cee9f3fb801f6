// A window's placement between Windows and the profile, kept on the monitors the user
// has now: a window stored on a monitor that is gone comes back where it can be seen.
#include "app/win32/WindowPlacement.h"

#include <vector>

#include "app/WindowPlace.h"

namespace sorbex {
namespace {

CRect FromRect(const RECT& rect) {
    CRect out;
    out.left = rect.left;
    out.top = rect.top;
    out.right = rect.right;
    out.bottom = rect.bottom;
    return out;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        return TRUE;
    auto& areas = *reinterpret_cast<std::vector<CRect>*>(list);
    const CRect area = FromRect(info.rcWork);
    if (info.dwFlags & MONITORINFOF_PRIMARY)
        areas.insert(areas.begin(), area);
    else
        areas.push_back(area);
    return TRUE;
}

// The work areas of the monitors, the primary one first. A placement's normal
// rectangle is in work-area coordinates of the primary monitor, which these are
// made to match.
std::vector<CRect> WorkAreas() {
    std::vector<CRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    if (areas.empty())
        return areas;
    const int dx = areas.front().left;
    const int dy = areas.front().top;
    for (CRect& area : areas) {
        area.left -= dx;
        area.right -= dx;
        area.top -= dy;
        area.bottom -= dy;
    }
    return areas;
}

} // namespace

bool ReadWindowPlacement(HWND window, CWindowPlacementValue& stored) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return false;
    stored.flags = IsZoomed(window) ? kPlacementRestoreToMaximized : placement.flags;
    stored.showCommand = placement.showCmd;
    stored.minX = placement.ptMinPosition.x;
    stored.minY = placement.ptMinPosition.y;
    stored.maxX = placement.ptMaxPosition.x;
    stored.maxY = placement.ptMaxPosition.y;
    stored.left = placement.rcNormalPosition.left;
    stored.top = placement.rcNormalPosition.top;
    stored.right = placement.rcNormalPosition.right;
    stored.bottom = placement.rcNormalPosition.bottom;
    return true;
}

void ApplyWindowPlacement(HWND window, const CWindowPlacementValue& stored, UINT showCommand) {
    CRect normal;
    normal.left = stored.left;
    normal.top = stored.top;
    normal.right = stored.right;
    normal.bottom = stored.bottom;
    normal = KeepOnWorkArea(normal, WorkAreas());
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.flags = stored.flags;
    placement.showCmd = showCommand;
    placement.ptMinPosition = {stored.minX, stored.minY};
    placement.ptMaxPosition = {stored.maxX, stored.maxY};
    placement.rcNormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
    SetWindowPlacement(window, &placement);
}

bool ChildStandsAt(HWND window, int left, int top, int width, int height) {
    RECT now{};
    if (!GetWindowRect(window, &now))
        return false;
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
    return now.left == left && now.top == top && now.right - now.left == width &&
           now.bottom - now.top == height;
}

void MoveChild(HWND window, int left, int top, int width, int height) {
    if (!ChildStandsAt(window, left, top, width, height))
        MoveWindow(window, left, top, width, height, TRUE);
}

} // namespace sorbex
