// What the bookmark pane does with its items, apart from drawing them: reload, new
// folder, rename, delete, a new bookmark, and the pane's part in drags and drops,
// with a bookmark moved only when its drop really took it.
#pragma once

#include "bookmarks/BookmarkTree.h"
#include "bookmarks/UrlFile.h"

#include <optional>
#include <string>

namespace keywright {

// What the commands ask of the pane's tree view.
class BookmarkPaneView {
public:
    virtual ~BookmarkPaneView() = default;
    // Shows every item anew.
    virtual void ShowAll() = 0;
    // Shows a new item in its place.
    virtual void ShowAdded(BookmarkItem& item) = 0;
    // Shows the children of `folder` in their order again.
    virtual void ShowOrder(BookmarkItem& folder) = 0;
    // `item` and everything below it are about to go.
    virtual void ShowRemoved(BookmarkItem& item) = 0;
    // Gives the tree the focus and starts editing the item's label.
    virtual void StartRename(BookmarkItem& item) = 0;
};

class BookmarkCommands {
public:
    BookmarkCommands(BookmarkTree& tree, BookmarkPaneView& view) : tree_(tree), view_(view) {}

    // Reads the folder anew (pane creation, message 1326, the editor's refresh).
    void Reload();

    // Creates "New Folder" in the selected folder or the folder of the selected
    // bookmark (the top folder when nothing is selected) and starts renaming it.
    BookmarkItem* CreateFolder(BookmarkItem* selected, const std::string& baseName);

    // Whether a label edit may start on `item`: never on the top item.
    static bool CanRename(const BookmarkItem& item) { return !item.isRoot; }
    // Ends a label edit with `text`; the view shows the new order.
    bool Rename(BookmarkItem& item, const std::string& text);

    // Deletes the selected bookmark or folder (message 1327, the context menus).
    bool Delete(BookmarkItem* selected);

    // Writes a bookmark of `list` into the top folder (command 3016).
    bool CreateBookmark(const LocationList& list);

    // A drag of `item` starts: its location with its file name, or nothing (folders
    // are not dragged; a file without a location has nothing to give).
    std::optional<LocationList> BeginDrag(BookmarkItem& item);
    // The drag ended; `taken` when a receiver took the data. A bookmark that went to
    // another folder, or out of the pane, moves: its file and item go.
    void EndDrag(bool taken);

    // Data dropped on the highlighted item (the top item when there is none): stored
    // in its folder unless it is the dragged bookmark's own folder, where it is already.
    bool Drop(BookmarkItem* highlighted, const LocationList& list);

private:
    BookmarkTree& tree_;
    BookmarkPaneView& view_;
    // The drag that started here, by path: the items may be read anew meanwhile.
    std::optional<std::string> draggedPath_;
    std::string draggedFolder_;
    bool droppedInOwnFolder_ = false;
};

} // namespace keywright
