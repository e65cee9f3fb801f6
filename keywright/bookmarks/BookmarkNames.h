// The naming rules of bookmark files and folders: the name made from a location, the
// names a user may type, the text a bookmark shows, and the free name of a new folder.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace keywright {

constexpr char kUrlExtension[] = ".url";
// What no file name may hold, in the order the user is told.
constexpr char kForbiddenNameCharacters[] = "\\/:*?\"<>|";
// A made-up name is cut to this length before ".url" is appended.
constexpr std::size_t kMaxGeneratedStem = 253;
// Appended to the new folder's name while that name is taken, from 2 on.
constexpr char kFolderNumberFormat[] = " (%d)";

// The file name of a new bookmark of `location`: the location after its first
// backslash (the root text dropped), each forbidden character and each control
// character replaced by "-", cut to 253 characters, with ".url" appended.
std::string BookmarkFileName(const std::string& location);

enum class NameCheck { Ok, Empty, ForbiddenCharacter };

// Whether a typed name can become a file or folder name.
NameCheck CheckNewName(const std::string& text);

// The file name a rename gives: a folder takes the text; a bookmark gets ".url" unless
// the text ends in it (any case), and only "url" after a final ".".
std::string RenamedFileName(const std::string& text, bool isBookmark);

// What a bookmark shows: its file name without a final ".url" (any case).
std::string BookmarkDisplayText(const std::string& fileName);

// `base`, or `base` with " (n)" for n = 2, 3, ... while `taken` says the name exists.
std::string FreeFolderName(const std::string& base,
                           const std::function<bool(const std::string& name)>& taken);

// `folder` and `name` joined by the system's separator unless `folder` ends in one.
std::string JoinPath(const std::string& folder, const std::string& name);

// The part of `path` after its last separator.
std::string LastPathComponent(const std::string& path);

// `path` with its last component replaced by `name`.
std::string ReplaceLastComponent(const std::string& path, const std::string& name);

} // namespace keywright
