// The bookmark pane. The window only translates: the tree view control shows the
// items (BookmarkTreeView), the commands change them (BookmarkCommands), and OLE's
// drop target hands dropped locations to the commands.
#include "bookmarks/win32/BookmarkPane.h"

#include "bookmarks/BookmarkCommands.h"
#include "bookmarks/BookmarkTree.h"
#include "bookmarks/win32/BookmarkPaneIds.h"
#include "bookmarks/win32/BookmarkTreeView.h"
#include "bookmarks/win32/DropSource.h"
#include "bookmarks/win32/DropTarget.h"
#include "host/win32/AddinMessages.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Window.h"
#include "resources/KeywrightResources.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>
#include <shellapi.h>

namespace keywright {

namespace {

constexpr int kInitialSize = 200;
constexpr COLORREF kTransparentColour = RGB(255, 0, 255);
constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                             TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS;

// A menu destroyed at the end of its scope.
class MenuHandle {
public:
    explicit MenuHandle(HMENU menu) : menu_(menu) {}
    ~MenuHandle() {
        if (menu_)
            DestroyMenu(menu_);
    }
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    HMENU get() const { return menu_; }

private:
    HMENU menu_;
};

std::wstring StringW(unsigned id) {
    const char* text = KeywrightString(id);
    return kestrix::WideFromAnsi(text ? text : "");
}

} // namespace

class BookmarkPaneWindow : public kestrix::ui::Window,
                           private BookmarkUi,
                           private BookmarkPaneView,
                           private DropTargetHost {
public:
    explicit BookmarkPaneWindow(BookmarkPaneContext context)
        : context_(std::move(context)), fs_(kestrix::MakeSystemFileSystem()),
          items_(*fs_, *this, context_.folder) {}
    ~BookmarkPaneWindow() override { ReleaseDropTarget(); }

    HWND tree() const { return tree_; }
    const BookmarkPaneContext& context() const { return context_; }

    bool CreateBookmark(const LocationList& list) { return commands_.CreateBookmark(list); }

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;

private:
    // BookmarkUi
    void ShowError(const std::string& text) override;
    bool Confirm(const std::string& question) override;
    // BookmarkPaneView
    void ShowAll() override { view_.Rebuild(); }
    void ShowAdded(BookmarkItem& item) override { view_.Add(item); }
    void ShowOrder(BookmarkItem& folder) override { view_.Sort(folder); }
    void ShowRemoved(BookmarkItem& item) override { view_.Remove(item); }
    void StartRename(BookmarkItem& item) override;
    // DropTargetHost
    void HighlightAt(POINT screen) override;
    void ClearHighlight() override;
    bool DropOnHighlight(const LocationList& list) override;

    bool TreeHasFocus() const { return GetFocus() == tree_; }
    void Open(BookmarkItem& item);
    void ShowContextMenu();
    void Drag(BookmarkItem& item);
    void RegisterDropTarget();
    void ReleaseDropTarget();

    BookmarkPaneContext context_;
    std::unique_ptr<kestrix::FileSystem> fs_;
    BookmarkTree items_;
    HWND tree_ = nullptr;
    BookmarkTreeView view_{nullptr, items_};
    BookmarkCommands commands_{items_, *this};
    HIMAGELIST images_ = nullptr;
    IDropTarget* dropTarget_ = nullptr; // registered on the tree and locked while it is
};

bool BookmarkPaneWindow::OnCreate(const CREATESTRUCTW& create) {
    tree_ = CreateWindowExW(0, WC_TREEVIEWW, L"", kTreeStyle, 0, 0, create.cx, create.cy, hwnd(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(KW_IDC_BOOKMARK_TREE)),
                            context_.instance, nullptr);
    if (!tree_)
        return false;
    images_ = ImageList_LoadImageW(context_.instance, MAKEINTRESOURCEW(KW_IDB_BOOKMARK_IMAGES),
                                   KW_BOOKMARK_IMAGE_WIDTH, 0, kTransparentColour, IMAGE_BITMAP,
                                   LR_CREATEDIBSECTION);
    if (images_)
        SendMessageW(tree_, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
    view_.SetWindow(tree_);
    commands_.Reload();
    RegisterDropTarget();
    return true;
}

void BookmarkPaneWindow::RegisterDropTarget() {
    if (!context_.transfer.oleInitialized)
        return;
    dropTarget_ = CMDropTarget::Create(*this, context_.transfer.privateFormat);
    if (!dropTarget_)
        return;
    // The lock keeps the object alive for OLE as long as the registration stands.
    if (FAILED(RegisterDragDrop(tree_, dropTarget_))) {
        dropTarget_->Release();
        dropTarget_ = nullptr;
        return;
    }
    CoLockObjectExternal(dropTarget_, TRUE, FALSE);
}

void BookmarkPaneWindow::ReleaseDropTarget() {
    if (!dropTarget_)
        return;
    RevokeDragDrop(tree_);
    CoLockObjectExternal(dropTarget_, FALSE, TRUE);
    dropTarget_->Release();
    dropTarget_ = nullptr;
}

void BookmarkPaneWindow::OnDestroy() {
    ReleaseDropTarget();
    if (images_)
        ImageList_Destroy(images_);
    images_ = nullptr;
}

bool BookmarkPaneWindow::OnSize(UINT, int width, int height) {
    MoveWindow(tree_, 0, 0, width, height, TRUE);
    return true;
}

bool BookmarkPaneWindow::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case kMsgBookmarkReload:
        commands_.Reload();
        return true;
    case kMsgBookmarkDelete:
        result = commands_.Delete(view_.Selected()) ? 1 : 0;
        return true;
    case kMsgBookmarkRename:
        if (TreeHasFocus())
            if (BookmarkItem* item = view_.Selected())
                result = SendMessageW(tree_, TVM_EDITLABELW, 0,
                                      reinterpret_cast<LPARAM>(view_.HandleOf(*item)));
        return true;
    case kMsgBookmarkHasFocus:
        result = TreeHasFocus() ? 1 : 0;
        return true;
    case kMsgBookmarkFocus:
    case WM_SETFOCUS:
        SetFocus(tree_);
        return true;
    case kMsgBookmarkNewFolder:
        commands_.CreateFolder(view_.Selected(), KeywrightString(kStrNewFolder));
        return true;
    default:
        return false;
    }
}

bool BookmarkPaneWindow::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != tree_)
        return false;
    result = 0;
    switch (header.code) {
    case TVN_GETDISPINFOW:
        view_.FillDisplayInfo(reinterpret_cast<NMTVDISPINFOW&>(header));
        return true;
    case NM_SETFOCUS:
        if (context_.tookFocus)
            context_.tookFocus();
        return true;
    case TVN_BEGINLABELEDITW: {
        BookmarkItem* item = view_.ItemOf(reinterpret_cast<NMTVDISPINFOW&>(header).item.hItem);
        bool allowed = item && BookmarkCommands::CanRename(*item);
        if (allowed && context_.enableAccelerators)
            context_.enableAccelerators(false);
        result = allowed ? FALSE : TRUE;
        return true;
    }
    case TVN_ENDLABELEDITW: {
        if (context_.enableAccelerators)
            context_.enableAccelerators(true);
        const TVITEMW& edited = reinterpret_cast<NMTVDISPINFOW&>(header).item;
        if (BookmarkItem* item = view_.ItemOf(edited.hItem); item && edited.pszText)
            commands_.Rename(*item, kestrix::AnsiFromWide(edited.pszText));
        result = FALSE; // the texts come from the items, never from the control
        return true;
    }
    case NM_DBLCLK: {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (BookmarkItem* item = view_.ItemAt(cursor); item && item->isBookmark)
            Open(*item);
        return true;
    }
    case NM_RCLICK:
        ShowContextMenu();
        result = TRUE;
        return true;
    case TVN_BEGINDRAGW:
        if (BookmarkItem* item =
                view_.ItemOf(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.hItem))
            Drag(*item);
        return true;
    default:
        return false;
    }
}

void BookmarkPaneWindow::Open(BookmarkItem& item) {
    std::wstring path = kestrix::WideFromAnsi(items_.PathOf(item));
    ShellExecuteW(context_.frame, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void BookmarkPaneWindow::ShowContextMenu() {
    POINT cursor{};
    GetCursorPos(&cursor);
    BookmarkItem* item = view_.ItemAt(cursor);
    if (!item)
        return;
    view_.Select(*item);
    MenuHandle loaded(item->isBookmark
                          ? LoadMenuW(context_.instance, MAKEINTRESOURCEW(KW_IDM_BOOKMARK_MENU))
                          : CreatePopupMenu());
    if (!loaded.get())
        return;
    HMENU menu = loaded.get();
    if (item->isBookmark) {
        menu = GetSubMenu(loaded.get(), 0);
    } else {
        AppendMenuW(menu, MF_STRING, KW_CMD_CREATE_BOOKMARK_FOLDER,
                    StringW(kStrCreateSubfolderItem).c_str());
        if (!item->isRoot)
            AppendMenuW(menu, MF_STRING, KW_CMD_DELETE_FOLDER,
                        kestrix::WideFromAnsi(KeywrightStringWith(kStrDeleteFolderItem, item->name))
                            .c_str());
    }
    UINT command = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd(), nullptr));
    if (command == KW_CMD_CREATE_BOOKMARK_FOLDER)
        commands_.CreateFolder(item, KeywrightString(kStrNewFolder));
    else if (command == KW_CMD_DELETE_FOLDER || command == KW_CMD_DELETE_BOOKMARK)
        commands_.Delete(item);
}

void BookmarkPaneWindow::Drag(BookmarkItem& item) {
    std::optional<LocationList> list = commands_.BeginDrag(item);
    if (!list)
        return;
    // `item` may be gone when the drag ends: the commands remember it by its path.
    DragOutcome outcome = StartDrag(context_.transfer, *list);
    commands_.EndDrag(outcome == DragOutcome::Dropped);
}

void BookmarkPaneWindow::StartRename(BookmarkItem& item) {
    SetFocus(tree_);
    view_.Select(item);
    SendMessageW(tree_, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(view_.HandleOf(item)));
}

void BookmarkPaneWindow::ShowError(const std::string& text) {
    MessageBoxW(context_.frame, kestrix::WideFromAnsi(text).c_str(), StringW(kStrAddinTitle).c_str(),
                MB_OK | MB_ICONEXCLAMATION);
}

bool BookmarkPaneWindow::Confirm(const std::string& question) {
    return MessageBoxW(context_.frame, kestrix::WideFromAnsi(question).c_str(),
                       StringW(kStrAddinTitle).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void BookmarkPaneWindow::HighlightAt(POINT screen) {
    BookmarkItem* item = view_.ItemAt(screen);
    HTREEITEM handle = view_.HandleOf(item ? *item : items_.root());
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(handle));
}

void BookmarkPaneWindow::ClearHighlight() {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_DROPHILITE, 0);
}

bool BookmarkPaneWindow::DropOnHighlight(const LocationList& list) {
    auto handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    return commands_.Drop(view_.ItemOf(handle), list);
}

BookmarkPane::BookmarkPane(BookmarkPaneContext context)
    : window_(std::make_unique<BookmarkPaneWindow>(std::move(context))) {}

BookmarkPane::~BookmarkPane() = default;

HWND BookmarkPane::Create() {
    kestrix::ui::WindowClassParams windowClass;
    windowClass.instance = window_->context().instance;
    windowClass.name = kBookmarkPaneClass;
    if (!kestrix::ui::RegisterWindowClass(windowClass))
        return nullptr;
    kestrix::ui::WindowParams params;
    params.instance = windowClass.instance;
    params.className = kBookmarkPaneClass;
    params.title = L"overlay";
    params.style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    params.exStyle = WS_EX_CLIENTEDGE;
    params.x = 0;
    params.y = 0;
    params.width = kInitialSize;
    params.height = kInitialSize;
    params.parent = window_->context().frame;
    return window_->Create(params);
}

HWND BookmarkPane::hwnd() const {
    return window_->hwnd();
}

HWND BookmarkPane::tree() const {
    return window_->tree();
}

bool BookmarkPane::CreateBookmark(const LocationList& list) {
    return window_->CreateBookmark(list);
}

} // namespace keywright
