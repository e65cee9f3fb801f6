// Bookmark files on disk.
#include "bookmarks/BookmarkFiles.h"

#include "bookmarks/BookmarkNames.h"
#include "strings/KeywrightStrings.h"

#include <cstdio>

namespace keywright {

namespace {

std::string Hex(long code) {
    char text[16];
    std::snprintf(text, sizeof text, "%lx", static_cast<unsigned long>(code));
    return text;
}

// A name handed over with a dragged bookmark names a file in the target folder and
// nothing else: anything that could lead out of it is not used.
bool UsableFileName(const std::string& name) {
    return CheckNewName(name) == NameCheck::Ok && name != "." && name != "..";
}

} // namespace

std::string WithSystemText(const std::string& message, const kestrix::OsError& error) {
    return message + "\n\n" + kestrix::OsErrorText(error.code);
}

std::int32_t CreateURLFile(kestrix::FileSystem& fs, const LocationList& list,
                           const std::string& folder, std::string& writtenPath,
                           const ShowText& show) {
    std::string name =
        UsableFileName(list.fileName) ? list.fileName : BookmarkFileName(list.location);
    writtenPath = JoinPath(folder, name);
    bool created = false;
    kestrix::OsError error = fs.WriteWholeFile(writtenPath, UrlFileText(list.location), created);
    if (!error)
        return kUrlFileWritten;
    unsigned message = created ? kStrCannotWriteUrlFile : kStrCannotCreateUrlFile;
    show(WithSystemText(KeywrightStringWithAll(message, {writtenPath, Hex(error.code)}), error));
    return kUrlFileFailed;
}

std::optional<std::string> ReadBookmarkFile(kestrix::FileSystem& fs, const std::string& path,
                                            const ShowText& show, std::size_t capacity) {
    std::string text;
    kestrix::OsError error = fs.ReadFile(path, text);
    if (error) {
        kestrix::FileFailure failure = kestrix::ClassifyFailure(error);
        bool opening = failure == kestrix::FileFailure::NotFound ||
                       failure == kestrix::FileFailure::Locked ||
                       failure == kestrix::FileFailure::AccessDenied;
        std::string message = opening ? KeywrightStringWith(kStrCannotOpenFile, path)
                                      : KeywrightString(kStrCannotReadFile);
        show(WithSystemText(message, error));
        return std::nullopt;
    }
    return LocationInUrlText(text, capacity);
}

} // namespace keywright
