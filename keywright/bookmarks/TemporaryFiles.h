// The bookmark files written for programs that take dropped files. A receiver may read
// such a file long after the drag, so each stays until the add-in unloads.
#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace keywright {

class TemporaryFiles {
public:
    // Records `path` once; paths that differ only in case are one file.
    void Add(const std::string& path);
    // Removes every recorded file that still exists and forgets them all.
    void DeleteAll(kestrix::FileSystem& fs);
    const std::vector<std::string>& paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

} // namespace keywright
