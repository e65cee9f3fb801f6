// The order of the file list: directory by directory, subdirectories first, then by name.
#include "search/FileListOrder.h"

#include <algorithm>

namespace sorbex {
namespace {

// The locale may call different spellings equal (case, and on some systems
// punctuation); the bytes then decide, so that one directory's entries never mix
// with another's.
int CompareWithTieBreak(kestrix::FileSystem& fileSystem, const std::string& a,
                        const std::string& b) {
    // Most comparisons while sorting are between entries of one directory, whose
    // directory texts are the same bytes: that needs no locale.
    if (a == b)
        return 0;
    const int locale = fileSystem.CompareNames(a, b);
    if (locale != 0)
        return locale;
    return a.compare(b);
}

} // namespace

void SortFileList(std::vector<CFileEntry>& files, kestrix::FileSystem& fileSystem) {
    std::stable_sort(files.begin(), files.end(),
                     [&fileSystem](const CFileEntry& x, const CFileEntry& y) {
                         const int byDir = CompareWithTieBreak(fileSystem, x.dir, y.dir);
                         if (byDir != 0)
                             return byDir < 0;
                         if (x.isDirectory != y.isDirectory)
                             return x.isDirectory > y.isDirectory;
                         return CompareWithTieBreak(fileSystem, x.name, y.name) < 0;
                     });
}

} // namespace sorbex
