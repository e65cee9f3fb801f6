// One entry of the file list that a search run works through.
#pragma once

#include <string>

namespace sorbex {

struct CFileEntry {
    std::string name; // without path
    std::string dir;  // the directory that holds it, ending in a path separator
    int isDirectory = 0;
};

} // namespace sorbex
