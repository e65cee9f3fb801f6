// The window procedure of the bar that splits the preview window's two panes: its class
// gives it the resizing cursor, and while it holds the mouse it hands the button and the
// moves to its parent, in the parent's coordinates, which draws the drag line and lays
// the panes out.
#include "host/win32/Exports.h"

namespace {

LRESULT ToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    MapWindowPoints(window, GetParent(window), &point, 1);
    return SendMessageW(GetParent(window), message, wParam, MAKELPARAM(point.x, point.y));
}

} // namespace

LRESULT CALLBACK SplitterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(window);
        ToParent(window, message, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window)
            ToParent(window, message, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == window) {
            // The parent places the panes before the capture ends, which would break the
            // drag off.
            ToParent(window, message, wParam, lParam);
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        SendMessageW(GetParent(window), message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
