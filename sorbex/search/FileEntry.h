// One entry of the file list that a search run works through.
#pragma once

#include <cstdint>
#include <string>

namespace sorbex {

struct CFileEntry {
    std::string name; // without path
    std::string dir;  // the directory that holds it, ending in a path separator
    int isDirectory = 0;
    // As the walk met them, so that a result page can show them without asking again.
    std::uint64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970-01-01 UTC
    // False when the walk learnt only the name and type: a search looks size and time
    // up for the few files that have passages instead of for every file.
    bool statusKnown = true;
};

} // namespace sorbex
