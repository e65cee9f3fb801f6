// The bookmark pane's tree view control kept in step with the pane's items: each
// tree item carries its item's record, texts come on demand, and the order is the
// items' own.
#pragma once

#include "bookmarks/BookmarkTree.h"

#include <windows.h>

#include <commctrl.h>

#include <unordered_map>

namespace keywright {

// Images of the pane's image list (bitmap 205).
constexpr int kFolderImage = 0;
constexpr int kOpenFolderImage = 1;
constexpr int kBookmarkImage = 2;

class BookmarkTreeView {
public:
    BookmarkTreeView(HWND tree, BookmarkTree& items) : tree_(tree), items_(items) {}

    // The control, for a view made before its control exists.
    void SetWindow(HWND tree) { tree_ = tree; }

    // Shows the items anew, every folder expanded, without drawing in between.
    void Rebuild();
    // Adds the control's item of `item` under its folder's and puts it in order; an
    // item shown already keeps its place.
    HTREEITEM Add(BookmarkItem& item);
    // Puts the children of `folder` in the items' order again.
    void Sort(BookmarkItem& folder);
    // Removes the control's items of `item` and everything below it, while they still
    // exist.
    void Remove(BookmarkItem& item);

    BookmarkItem* ItemOf(HTREEITEM handle) const;
    HTREEITEM HandleOf(const BookmarkItem& item) const;
    BookmarkItem* Selected() const;
    // The item under a point of the screen; null when there is none.
    BookmarkItem* ItemAt(POINT screen) const;
    void Select(const BookmarkItem& item);

    // TVN_GETDISPINFOW: the item's text from its record.
    void FillDisplayInfo(NMTVDISPINFOW& info) const;

    HWND window() const { return tree_; }

private:
    HTREEITEM Insert(BookmarkItem& item, HTREEITEM parent);
    void Forget(const BookmarkItem& item);
    void InsertChildren(BookmarkItem& folder, HTREEITEM handle);

    HWND tree_;
    BookmarkTree& items_;
    std::unordered_map<const BookmarkItem*, HTREEITEM> handles_;
};

} // namespace keywright
