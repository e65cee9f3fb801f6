// The choice of the bookmark folder.
#include "bookmarks/BookmarkFolder.h"

#include "bookmarks/BookmarkNames.h"

namespace keywright {

namespace {

bool IsDirectory(kestrix::FileSystem& fs, const std::string& path) {
    kestrix::FileStatus status;
    return !fs.GetFileStatus(path, status) && status.isDirectory;
}

// Asking the system for the folder's access rights would miss what it decides only on
// writing (read-only media, redirected folders); a small file written and removed
// again tells.
bool CanWriteInto(kestrix::FileSystem& fs, const std::string& folder) {
    std::string probe = JoinPath(folder, kWriteProbeName);
    bool created = false;
    if (fs.WriteWholeFile(probe, "", created))
        return false;
    fs.RemoveFile(probe);
    return true;
}

} // namespace

std::string FolderBesideModule(const std::string& moduleFileName) {
    return ReplaceLastComponent(moduleFileName, kBookmarkFolderName);
}

BookmarkFolder ChooseBookmarkFolder(kestrix::FileSystem& fs, const std::string& moduleFileName,
                                    const std::string& appDataFolder) {
    std::string beside = FolderBesideModule(moduleFileName);
    if (appDataFolder.empty() || (IsDirectory(fs, beside) && CanWriteInto(fs, beside)))
        return {beside, false};
    std::string path = appDataFolder;
    for (const char* parent : kUserFolderParents)
        path = JoinPath(path, parent);
    return {JoinPath(path, kBookmarkFolderName), true};
}

kestrix::OsError MakeBookmarkFolder(kestrix::FileSystem& fs, const BookmarkFolder& folder) {
    if (!folder.madeOnFirstUse || IsDirectory(fs, folder.path))
        return {};
    std::string parent = ReplaceLastComponent(folder.path, "");
    while (!parent.empty() && kestrix::IsPathSeparator(parent.back()))
        parent.pop_back();
    if (!parent.empty() && parent != folder.path && !IsDirectory(fs, parent)) {
        if (kestrix::OsError error = MakeBookmarkFolder(fs, {parent, true}))
            return error;
    }
    return fs.MakeDirectory(folder.path);
}

} // namespace keywright
