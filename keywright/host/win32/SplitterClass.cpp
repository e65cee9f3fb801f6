// The splitter bar: its class gives it the resizing cursor, and it hands dragging to its
// parent as mouse messages. Each bar is a window object, made for the window when the
// preview creates the bar.
#include "host/win32/SplitterClass.h"

#include "host/win32/AddinMessageBox.h"
#include "host/win32/Exports.h"
#include "platform/win32/ui/Window.h"
#include "strings/KeywrightStrings.h"

#include <memory>

namespace keywright {

namespace {

constexpr WORD kEditorSplitCursor = 100;

class SplitterBar : public kestrix::ui::Window {
protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        result = 0;
        switch (message) {
        case WM_LBUTTONDOWN:
            SetCapture(hwnd());
            return true;
        case WM_LBUTTONUP:
            ReleaseCapture();
            return true;
        case WM_MOUSEMOVE:
            if (GetCapture() == hwnd()) {
                POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                HWND parent = GetParent(hwnd());
                MapWindowPoints(hwnd(), parent, &point, 1);
                SendMessageW(parent, WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
            }
            return true;
        default:
            return false;
        }
    }
};

std::unique_ptr<kestrix::ui::Window> MakeSplitterBar() {
    return std::make_unique<SplitterBar>();
}

} // namespace

void RegisterSplitterClass(HINSTANCE editor) {
    WNDCLASSW windowClass{};
    if (GetClassInfoW(editor, kSplitterClass, &windowClass))
        return;
    windowClass.lpfnWndProc = SplitterWndProc;
    windowClass.hInstance = editor;
    windowClass.hCursor = LoadCursorW(editor, MAKEINTRESOURCEW(kEditorSplitCursor));
    // An editor without that cursor still gets a bar that shows what it does.
    if (!windowClass.hCursor)
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kSplitterClass;
    if (!RegisterClassW(&windowClass))
        ShowInternalFault(KeywrightString(kStrSplitterClassFailed));
}

} // namespace keywright

LRESULT CALLBACK SplitterWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return kestrix::ui::Window::AdoptingProcedure(window, message, wParam, lParam,
                                                  &keywright::MakeSplitterBar);
}
