// The empty bookmark pane: it takes the focus when asked and notes that it has it,
// and says that no bookmark tree has the focus, so the editor's own commands run.
#include "host/win32/BookmarkPane.h"

#include "host/win32/AddinContext.h"

namespace keywright {

namespace {

constexpr int kInitialSize = 200;

LRESULT CALLBACK BookmarkPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgBookmarkFocus:
        SetFocus(window);
        return 0;
    case kMsgBookmarkHasFocus:
        return 0; // there is no bookmark tree yet
    case kMsgBookmarkReload:
    case kMsgBookmarkDelete:
    case kMsgBookmarkRename:
    case kMsgBookmarkNewFolder:
        return 0;
    case WM_SETFOCUS:
        Addin().paneIndex = 2;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

bool RegisterBookmarkPaneClass(HINSTANCE own) {
    WNDCLASSW windowClass{};
    if (GetClassInfoW(own, kBookmarkPaneClass, &windowClass))
        return true;
    windowClass.lpfnWndProc = BookmarkPaneProc;
    windowClass.hInstance = own;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kBookmarkPaneClass;
    return RegisterClassW(&windowClass) != 0;
}

HWND CreateBookmarkPane(HWND frame, HINSTANCE own) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, kBookmarkPaneClass, L"overlay",
                           WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, kInitialSize, kInitialSize,
                           frame, nullptr, own, nullptr);
}

} // namespace keywright
