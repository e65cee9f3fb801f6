// Where the bookmarks live. The folder "Bookmarks" beside the add-in is kept when it
// exists and can be written; an add-in installed for all users sits where a standard
// user cannot write, so otherwise the bookmarks go to the user's application data,
// into a folder made when the first bookmark or folder needs it.
#pragma once

#include "platform/FileSystem.h"

#include <string>

namespace keywright {

constexpr char kBookmarkFolderName[] = "Bookmarks";
// Below the user's application-data folder, as the settings are below HKCU\Software.
constexpr char kUserFolderParents[][16] = {"Velmara", "Keywright"};
// Written and removed again to learn whether a folder can be written.
constexpr char kWriteProbeName[] = "~keywright-write-test.tmp";

struct BookmarkFolder {
    std::string path;
    bool madeOnFirstUse = false; // may be missing; made with its parents when needed
};

// The module's file name with everything from its last separator on replaced by
// the separator and "Bookmarks".
std::string FolderBesideModule(const std::string& moduleFileName);

// The folder beside the module when it is a writable directory, else the one below
// `appDataFolder` (when that is known).
BookmarkFolder ChooseBookmarkFolder(kestrix::FileSystem& fs, const std::string& moduleFileName,
                                    const std::string& appDataFolder);

// Makes `folder.path` and its missing parents when it may be made and is missing.
kestrix::OsError MakeBookmarkFolder(kestrix::FileSystem& fs, const BookmarkFolder& folder);

} // namespace keywright
