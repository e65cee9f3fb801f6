// The list of temporary drop files.
#include "bookmarks/TemporaryFiles.h"

#include "host/AsciiCase.h"

#include <algorithm>

namespace keywright {

void TemporaryFiles::Add(const std::string& path) {
    if (std::none_of(paths_.begin(), paths_.end(),
                     [&](const std::string& known) { return EqualsNoCase(known, path); }))
        paths_.push_back(path);
}

void TemporaryFiles::DeleteAll(kestrix::FileSystem& fs) {
    for (const std::string& path : paths_)
        fs.RemoveFile(path); // a file the receiver moved away is gone already
    paths_.clear();
}

} // namespace keywright
