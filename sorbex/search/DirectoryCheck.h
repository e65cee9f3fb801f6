// Checking the directories of a search before any file is read.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "search/FileListUi.h"

namespace sorbex {

// Splits `directoryText` and replaces each item by its full path, ending in a path
// separator, in `directories`. Asks for a missing disc or CD ROM until one is there
// or the user cancels. Returns 1 to go on, 0 when the run must stop (cancelled, or a
// directory that is not one, reported with 10014).
int CheckDirectories(const std::string& directoryText, kestrix::FileSystem& fileSystem,
                     CFileListUi& ui, std::vector<std::string>& directories);

} // namespace sorbex
