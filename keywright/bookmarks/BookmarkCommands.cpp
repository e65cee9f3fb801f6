// The bookmark pane's commands over its items.
#include "bookmarks/BookmarkCommands.h"

namespace keywright {

void BookmarkCommands::Reload() {
    tree_.Reload();
    view_.ShowAll();
}

BookmarkItem* BookmarkCommands::CreateFolder(BookmarkItem* selected, const std::string& baseName) {
    BookmarkItem* made = tree_.CreateFolder(selected ? *selected : tree_.root(), baseName);
    if (made) {
        view_.ShowAdded(*made);
        view_.StartRename(*made);
    }
    return made;
}

bool BookmarkCommands::Rename(BookmarkItem& item, const std::string& text) {
    if (!CanRename(item) || !tree_.Rename(item, text))
        return false;
    view_.ShowOrder(*item.parent);
    return true;
}

bool BookmarkCommands::Delete(BookmarkItem* selected) {
    return selected &&
           tree_.Delete(*selected, [this](BookmarkItem& item) { view_.ShowRemoved(item); });
}

bool BookmarkCommands::CreateBookmark(const LocationList& list) {
    BookmarkItem* written = tree_.WriteBookmark(tree_.root(), list);
    if (written)
        Reload();
    return written != nullptr;
}

std::optional<LocationList> BookmarkCommands::BeginDrag(BookmarkItem& item) {
    if (!item.isBookmark)
        return std::nullopt;
    std::optional<std::string> location = tree_.LocationOf(item);
    if (!location || location->empty())
        return std::nullopt;
    draggedPath_ = tree_.PathOf(item);
    draggedFolder_ = tree_.FolderOf(item).path;
    droppedInOwnFolder_ = false;
    return LocationList{*location, item.name};
}

void BookmarkCommands::EndDrag(bool taken) {
    std::optional<std::string> dragged = std::move(draggedPath_);
    draggedPath_.reset();
    if (!dragged || !taken || droppedInOwnFolder_)
        return;
    if (BookmarkItem* item = tree_.Find(*dragged); item && item->isBookmark)
        Delete(item);
}

bool BookmarkCommands::Drop(BookmarkItem* highlighted, const LocationList& list) {
    BookmarkItem& folder = tree_.FolderOf(highlighted ? *highlighted : tree_.root());
    if (draggedPath_ && folder.path == draggedFolder_) {
        droppedInOwnFolder_ = true;
        return true;
    }
    BookmarkItem* written = tree_.WriteBookmark(folder, list);
    if (!written)
        return false;
    view_.ShowAdded(*written);
    return true;
}

} // namespace keywright
