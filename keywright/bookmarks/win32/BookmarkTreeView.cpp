// The tree view control of the bookmark pane. The control never holds texts of its
// own: every text comes from the items, so it cannot disagree with the disk. The pane
// is a window of the wide-character API, so its tree talks in wide characters; the
// items keep the names as the file system gives them, in the program's code page.
#include "bookmarks/win32/BookmarkTreeView.h"

#include "platform/win32/AnsiText.h"

#include <cstring>

namespace keywright {

namespace {

struct SortContext {
    const BookmarkTree* items;
};

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context) {
    const BookmarkTree& items = *reinterpret_cast<const SortContext*>(context)->items;
    const auto& first = *reinterpret_cast<const BookmarkItem*>(a);
    const auto& second = *reinterpret_cast<const BookmarkItem*>(b);
    if (items.ComesBefore(first, second))
        return -1;
    return items.ComesBefore(second, first) ? 1 : 0;
}

} // namespace

HTREEITEM BookmarkTreeView::Insert(BookmarkItem& item, HTREEITEM parent) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = LPSTR_TEXTCALLBACKW;
    insert.item.lParam = reinterpret_cast<LPARAM>(&item);
    insert.item.iImage = item.isBookmark ? kBookmarkImage : kFolderImage;
    insert.item.iSelectedImage = item.isBookmark ? kBookmarkImage : kOpenFolderImage;
    auto handle = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (handle)
        handles_[&item] = handle;
    return handle;
}

void BookmarkTreeView::InsertChildren(BookmarkItem& folder, HTREEITEM handle) {
    for (auto& child : folder.children) {
        HTREEITEM added = Insert(*child, handle);
        if (added && !child->isBookmark)
            InsertChildren(*child, added);
    }
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(handle));
}

void BookmarkTreeView::Rebuild() {
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    handles_.clear();
    SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    if (HTREEITEM root = Insert(items_.root(), TVI_ROOT))
        InsertChildren(items_.root(), root);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
}

HTREEITEM BookmarkTreeView::Add(BookmarkItem& item) {
    if (!item.parent)
        return nullptr;
    if (HTREEITEM shown = HandleOf(item))
        return shown;
    HTREEITEM parent = HandleOf(*item.parent);
    if (!parent)
        return nullptr;
    HTREEITEM handle = Insert(item, parent);
    Sort(*item.parent);
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    return handle;
}

void BookmarkTreeView::Sort(BookmarkItem& folder) {
    SortContext context{&items_};
    TVSORTCB sort{};
    sort.hParent = HandleOf(folder);
    sort.lpfnCompare = CompareItems;
    sort.lParam = reinterpret_cast<LPARAM>(&context);
    if (sort.hParent)
        SendMessageW(tree_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void BookmarkTreeView::Forget(const BookmarkItem& item) {
    handles_.erase(&item);
    for (const auto& child : item.children)
        Forget(*child);
}

void BookmarkTreeView::Remove(BookmarkItem& item) {
    HTREEITEM handle = HandleOf(item);
    // The records go before the control's items, so that nothing asks for their texts.
    Forget(item);
    if (handle)
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(handle));
}

BookmarkItem* BookmarkTreeView::ItemOf(HTREEITEM handle) const {
    if (!handle)
        return nullptr;
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = handle;
    if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    auto* record = reinterpret_cast<BookmarkItem*>(item.lParam);
    // Only records still shown are handed out.
    auto found = handles_.find(record);
    return found != handles_.end() && found->second == handle ? record : nullptr;
}

HTREEITEM BookmarkTreeView::HandleOf(const BookmarkItem& item) const {
    auto found = handles_.find(&item);
    return found == handles_.end() ? nullptr : found->second;
}

BookmarkItem* BookmarkTreeView::Selected() const {
    return ItemOf(reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

BookmarkItem* BookmarkTreeView::ItemAt(POINT screen) const {
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(tree_, &hit.pt);
    auto handle =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) ? ItemOf(handle) : nullptr;
}

void BookmarkTreeView::Select(const BookmarkItem& item) {
    if (HTREEITEM handle = HandleOf(item))
        SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(handle));
}

void BookmarkTreeView::FillDisplayInfo(NMTVDISPINFOW& info) const {
    if (!(info.item.mask & TVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0)
        return;
    const auto* record = reinterpret_cast<const BookmarkItem*>(info.item.lParam);
    auto found = handles_.find(record);
    std::wstring text =
        found != handles_.end() ? kestrix::WideFromAnsi(items_.DisplayText(*record)) : std::wstring();
    std::size_t length = text.size() < static_cast<std::size_t>(info.item.cchTextMax - 1)
                             ? text.size()
                             : static_cast<std::size_t>(info.item.cchTextMax - 1);
    std::memcpy(info.item.pszText, text.data(), length * sizeof(wchar_t));
    info.item.pszText[length] = L'\0';
}

} // namespace keywright
