// The order of the file list: directory by directory, subdirectories first, then by name.
#pragma once

#include <vector>

#include "platform/FileSystem.h"
#include "search/FileEntry.h"

namespace sorbex {

// Directories and names compare as the system's locale orders them, ignoring case.
void SortFileList(std::vector<CFileEntry>& files, kestrix::FileSystem& fileSystem);

} // namespace sorbex
