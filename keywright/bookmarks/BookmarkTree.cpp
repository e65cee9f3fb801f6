// The bookmark pane's items and the changes made to them. Every change is made on disk
// first; the items change only when the disk did.
#include "bookmarks/BookmarkTree.h"

#include "bookmarks/BookmarkFiles.h"
#include "bookmarks/BookmarkNames.h"
#include "host/AsciiCase.h"
#include "strings/KeywrightStrings.h"

#include <algorithm>

namespace keywright {

BookmarkTree::BookmarkTree(kestrix::FileSystem& fs, BookmarkUi& ui, BookmarkFolder folder)
    : fs_(fs), ui_(ui), folder_(std::move(folder)) {
    root_.isRoot = true;
    root_.name = LastPathComponent(folder_.path);
    root_.path = folder_.path;
}

void BookmarkTree::Reload() {
    root_.children.clear();
    Fill(root_, 0);
}

void BookmarkTree::Fill(BookmarkItem& folder, int depth) {
    if (depth > kMaxFolderDepth)
        return;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    fs_.ListDirectory(folder.path, kestrix::EntryDetail::TypesOnly,
                      [&](const kestrix::DirEntry& entry) {
                          (entry.isDirectory ? folders : files).push_back(entry.name);
                          return true;
                      });
    for (const std::string& name : folders)
        Fill(Adopt(folder, name, false), depth + 1);
    for (const std::string& name : files) {
        bool known = std::any_of(folder.children.begin(), folder.children.end(), [&](auto& c) {
            return c->isBookmark && c->name == name;
        });
        if (!known)
            Adopt(folder, name, true);
    }
    Sort(folder);
}

BookmarkItem& BookmarkTree::Adopt(BookmarkItem& folder, const std::string& name, bool isBookmark) {
    auto item = std::make_unique<BookmarkItem>();
    item->isBookmark = isBookmark;
    item->name = name;
    if (!isBookmark)
        item->path = JoinPath(folder.path, name);
    item->parent = &folder;
    folder.children.push_back(std::move(item));
    return *folder.children.back();
}

bool BookmarkTree::ComesBefore(const BookmarkItem& a, const BookmarkItem& b) const {
    if (a.isBookmark != b.isBookmark)
        return !a.isBookmark;
    return fs_.CompareNames(a.name, b.name) < 0;
}

void BookmarkTree::Sort(BookmarkItem& folder) {
    std::stable_sort(folder.children.begin(), folder.children.end(),
                     [&](const auto& a, const auto& b) { return ComesBefore(*a, *b); });
}

std::string BookmarkTree::PathOf(const BookmarkItem& item) const {
    if (!item.isBookmark || !item.parent)
        return item.path;
    return JoinPath(item.parent->path, item.name);
}

BookmarkItem& BookmarkTree::FolderOf(BookmarkItem& item) {
    return item.isBookmark && item.parent ? *item.parent : item;
}

std::string BookmarkTree::DisplayText(const BookmarkItem& item) const {
    if (item.isRoot)
        return KeywrightString(kStrMyBookmarks);
    return item.isBookmark ? BookmarkDisplayText(item.name) : item.name;
}

bool BookmarkTree::Exists(const std::string& path) {
    kestrix::FileStatus status;
    return !fs_.GetFileStatus(path, status);
}

bool BookmarkTree::EnsureFolder() {
    kestrix::OsError error = MakeBookmarkFolder(fs_, folder_);
    if (error)
        ui_.ShowError(WithSystemText(KeywrightStringWith(kStrCannotCreateFolder, folder_.path),
                                     error));
    return !error;
}

BookmarkItem* BookmarkTree::CreateFolder(BookmarkItem& target, const std::string& baseName) {
    BookmarkItem& folder = FolderOf(target);
    if (folder.isRoot && !EnsureFolder())
        return nullptr;
    std::string name = FreeFolderName(
        baseName, [&](const std::string& n) { return Exists(JoinPath(folder.path, n)); });
    std::string path = JoinPath(folder.path, name);
    if (kestrix::OsError error = fs_.MakeDirectory(path)) {
        ui_.ShowError(WithSystemText(KeywrightStringWith(kStrCannotCreateFolder, path), error));
        return nullptr;
    }
    BookmarkItem& added = Adopt(folder, name, false);
    Sort(folder);
    return &added;
}

void BookmarkTree::RepathChildren(BookmarkItem& folder) {
    for (auto& child : folder.children)
        if (!child->isBookmark) {
            child->path = JoinPath(folder.path, child->name);
            RepathChildren(*child);
        }
}

bool BookmarkTree::Rename(BookmarkItem& item, const std::string& text) {
    if (item.isRoot)
        return false;
    switch (CheckNewName(text)) {
    case NameCheck::Empty:
        ui_.ShowError(KeywrightString(kStrEmptyName));
        return false;
    case NameCheck::ForbiddenCharacter:
        ui_.ShowError(KeywrightString(kStrForbiddenNameCharacters));
        return false;
    case NameCheck::Ok:
        break;
    }
    std::string name = RenamedFileName(text, item.isBookmark);
    std::string from = PathOf(item);
    std::string to = ReplaceLastComponent(from, name);
    if (to == from)
        return true;
    if (kestrix::OsError error = fs_.RenameFile(from, to)) {
        ui_.ShowError(WithSystemText(KeywrightStringWithAll(kStrCannotRenameFolder, {from, to}),
                                     error));
        return false;
    }
    item.name = name;
    if (!item.isBookmark) {
        item.path = to;
        RepathChildren(item);
    }
    Sort(*item.parent);
    return true;
}

bool BookmarkTree::RemoveTree(const std::string& path, int depth) {
    std::vector<kestrix::DirEntry> entries;
    if (depth <= kMaxFolderDepth)
        fs_.ListDirectory(path, kestrix::EntryDetail::TypesOnly,
                          [&](const kestrix::DirEntry& entry) {
                              entries.push_back(entry);
                              return true;
                          });
    // A file that cannot go keeps its folder, whose removal then reports it.
    for (const auto& entry : entries)
        if (!entry.isDirectory && !entry.isLink)
            fs_.RemoveFile(JoinPath(path, entry.name));
    for (const auto& entry : entries) {
        std::string child = JoinPath(path, entry.name);
        if (entry.isLink) {
            // A link goes by itself; what it leads to is not the bookmarks'. One that
            // stays keeps its folder, whose removal then reports it.
            if (fs_.RemoveFile(child))
                fs_.RemoveEmptyDirectory(child);
        } else if (entry.isDirectory && !RemoveTree(child, depth + 1)) {
            return false;
        }
    }
    if (kestrix::OsError error = fs_.RemoveEmptyDirectory(path)) {
        ui_.ShowError(WithSystemText(KeywrightStringWith(kStrCannotRemoveDirectory, path), error));
        return false;
    }
    return true;
}

bool BookmarkTree::Delete(BookmarkItem& item,
                          const std::function<void(BookmarkItem&)>& removing) {
    if (item.isRoot || !item.parent)
        return false;
    std::string path = PathOf(item);
    if (item.isBookmark) {
        kestrix::OsError error = fs_.RemoveFile(path);
        // A file that is gone already is what the user wanted.
        if (error && kestrix::ClassifyFailure(error) != kestrix::FileFailure::NotFound) {
            ui_.ShowError(WithSystemText(KeywrightStringWith(kStrCannotDeleteFile, path), error));
            return false;
        }
    } else {
        if (!item.children.empty() && !ui_.Confirm(KeywrightString(kStrConfirmFolderDelete)))
            return false;
        if (!RemoveTree(path, 0))
            return false;
    }
    if (removing)
        removing(item);
    auto& siblings = item.parent->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [&](const auto& child) { return child.get() == &item; }));
    return true;
}

BookmarkItem* BookmarkTree::WriteBookmark(BookmarkItem& folder, const LocationList& list) {
    if (folder.isBookmark)
        return nullptr;
    if (folder.isRoot && !EnsureFolder())
        return nullptr;
    std::string written;
    if (CreateURLFile(fs_, list, folder.path, written,
                      [&](const std::string& text) { ui_.ShowError(text); }) != kUrlFileWritten)
        return nullptr;
    std::string name = LastPathComponent(written);
    // The file replaced one of the same name (the system ignores case in names).
    for (auto& child : folder.children)
        if (child->isBookmark && EqualsNoCase(child->name, name))
            return child.get();
    BookmarkItem& added = Adopt(folder, name, true);
    Sort(folder);
    return &added;
}

BookmarkItem* BookmarkTree::FindBelow(BookmarkItem& item, const std::string& path) {
    if (PathOf(item) == path)
        return &item;
    for (auto& child : item.children)
        if (BookmarkItem* found = FindBelow(*child, path))
            return found;
    return nullptr;
}

BookmarkItem* BookmarkTree::Find(const std::string& path) {
    return FindBelow(root_, path);
}

std::optional<std::string> BookmarkTree::LocationOf(const BookmarkItem& item) {
    if (!item.isBookmark)
        return std::nullopt;
    return ReadBookmarkFile(fs_, PathOf(item),
                            [&](const std::string& text) { ui_.ShowError(text); });
}

} // namespace keywright
