// The window procedure of the bar that splits the preview window's two panes: its class
// gives it the resizing cursor, and it hands dragging to its parent as mouse messages.
#include "host/win32/Exports.h"

LRESULT CALLBACK SplitterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(window);
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == window) {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(window, GetParent(window), &point, 1);
            SendMessageW(GetParent(window), WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
