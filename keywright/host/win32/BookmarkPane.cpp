// The empty bookmark pane: it takes the focus when asked and notes that it has it,
// and says that no bookmark tree has the focus, so the editor's own commands run.
#include "host/win32/BookmarkPane.h"

#include "host/win32/AddinMessages.h"
#include "host/win32/Attach.h"
#include "platform/win32/ui/Window.h"

#include <memory>

namespace keywright {

namespace {

constexpr int kInitialSize = 200;
constexpr wchar_t kPaneTitle[] = L"overlay";

class BookmarkPane : public kestrix::ui::Window {
protected:
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        result = 0;
        switch (message) {
        case kMsgBookmarkFocus:
            SetFocus(hwnd());
            return true;
        case kMsgBookmarkHasFocus: // there is no bookmark tree yet
        case kMsgBookmarkReload:
        case kMsgBookmarkDelete:
        case kMsgBookmarkRename:
        case kMsgBookmarkNewFolder:
            return true;
        case WM_SETFOCUS:
            if (Attachment* attachment = CurrentAttachment())
                attachment->NoteFocus(FocusPane::Bookmarks);
            return true;
        default:
            return false;
        }
    }
};

} // namespace

bool RegisterBookmarkPaneClass(HINSTANCE own) {
    kestrix::ui::WindowClassSpec spec;
    spec.instance = own;
    spec.name = kBookmarkPaneClass;
    return kestrix::ui::RegisterWindowClass(spec);
}

HWND OpenBookmarkPane(HWND frame, HINSTANCE own) {
    kestrix::ui::WindowSpec spec;
    spec.instance = own;
    spec.className = kBookmarkPaneClass;
    spec.title = kPaneTitle;
    spec.style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    spec.exStyle = WS_EX_CLIENTEDGE;
    spec.x = spec.y = 0;
    spec.width = spec.height = kInitialSize;
    spec.parent = frame;
    return kestrix::ui::Window::Open(std::make_unique<BookmarkPane>(), spec);
}

bool BookmarkTreeHasFocus() {
    Attachment* attachment = CurrentAttachment();
    HWND pane = attachment ? attachment->bookmarkPane() : nullptr;
    return pane && SendMessageW(pane, kMsgBookmarkHasFocus, 0, 0) == 1;
}

} // namespace keywright
