// The bookmark pane's items: the bookmark folder's tree of folders and bookmark files
// as the pane shows it, and every change the user makes to it, done on disk first.
#pragma once

#include "bookmarks/BookmarkFolder.h"
#include "bookmarks/UrlFile.h"
#include "platform/FileSystem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace keywright {

// One item of the pane: the record each tree item carries.
struct BookmarkItem {
    bool isBookmark = false;
    bool isRoot = false;
    std::string name; // folder name, or the bookmark's file name with ".url"
    std::string path; // folders only: the folder's full path
    BookmarkItem* parent = nullptr;
    std::vector<std::unique_ptr<BookmarkItem>> children; // folders first, by name
};

// What the tree asks of the user.
class BookmarkUi {
public:
    virtual ~BookmarkUi() = default;
    // A failure, shown with the exclamation icon.
    virtual void ShowError(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool Confirm(const std::string& question) = 0;
};

// Folders nested deeper than this are not read: a link that leads back to its own
// parent would otherwise be followed for ever.
constexpr int kMaxFolderDepth = 64;

class BookmarkTree {
public:
    BookmarkTree(kestrix::FileSystem& fs, BookmarkUi& ui, BookmarkFolder folder);

    BookmarkItem& root() { return root_; }
    const BookmarkFolder& folder() const { return folder_; }

    // Reads the whole tree from disk anew; a missing folder gives only the root.
    void Reload();

    // A folder's path, or a bookmark's: its folder's path and its name.
    std::string PathOf(const BookmarkItem& item) const;
    // The item itself when it is a folder, else the folder that holds it.
    BookmarkItem& FolderOf(BookmarkItem& item);
    // What the pane shows for the item: "My Bookmarks" for the root.
    std::string DisplayText(const BookmarkItem& item) const;
    // Orders two items as the pane does: folders first, then by name ignoring case.
    bool ComesBefore(const BookmarkItem& a, const BookmarkItem& b) const;

    // Makes "New Folder" (or the first free "New Folder (n)") in the folder of
    // `target`; the new item, or null after the failure was shown.
    BookmarkItem* CreateFolder(BookmarkItem& target, const std::string& baseName);

    // Renames the item's file or folder to `text` (with the bookmark rules); false
    // after a message when the text is refused or the disk refuses. The root is never
    // renamed.
    bool Rename(BookmarkItem& item, const std::string& text);

    // Deletes a bookmark's file, or a folder with everything in it after the user
    // agreed (asked only when it holds items); false when nothing was deleted or the
    // deletion stopped. The root is never deleted. On success `removing` sees the item
    // just before it goes.
    bool Delete(BookmarkItem& item,
                const std::function<void(BookmarkItem&)>& removing = nullptr);

    // The item whose path is `path`; null when none is shown.
    BookmarkItem* Find(const std::string& path);

    // Writes the bookmark of `list` into `folder` (made first when it may be) and adds
    // its item unless one of that name is there; the item, or null after a message.
    BookmarkItem* WriteBookmark(BookmarkItem& folder, const LocationList& list);

    // The location of a bookmark item; nothing when its file holds none (a failure to
    // read it is shown).
    std::optional<std::string> LocationOf(const BookmarkItem& item);

private:
    void Fill(BookmarkItem& folder, int depth);
    void Sort(BookmarkItem& folder);
    BookmarkItem& Adopt(BookmarkItem& folder, const std::string& name, bool isBookmark);
    bool Exists(const std::string& path);
    bool RemoveTree(const std::string& path, int depth);
    bool EnsureFolder();
    void RepathChildren(BookmarkItem& folder);
    BookmarkItem* FindBelow(BookmarkItem& item, const std::string& path);

    kestrix::FileSystem& fs_;
    BookmarkUi& ui_;
    BookmarkFolder folder_;
    BookmarkItem root_;
};

} // namespace keywright
