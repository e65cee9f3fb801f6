// The results of a page whose files an undo put back: not replaced again, at their old offsets.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "search/SearchResultArray.h"
#include "text/TextEncoding.h"

namespace sorbex {

// Whether `path` is one of `restoredPaths` (names compared as the system compares them).
bool IsRestoredFile(const std::string& path, const std::vector<std::string>& restoredPaths);

// Clears the replaced mark of every result of `page` whose file (dir + name) is one of
// `restoredPaths`, and moves the results of those files back to where the passages lie
// in the old content: a replaced passage again spans the text its excerpt holds, and
// the results after it in the file shift back by what its replacement added. A replaced
// passage whose excerpt holds only its beginning (a passage longer than the excerpt)
// has an unknown old length: it and the file's later results keep their mark and
// offsets, and a later walk finds their offsets stale and leaves the file alone.
// Returns the number of results marked as not replaced.
std::size_t MarkRestoredResults(CSearchResultArray& page,
                                const std::vector<std::string>& restoredPaths);

// As above, for a page that may not be the one whose walk was undone: a file's results
// change only when `holdsPassage` confirms, for every result that would lose its mark,
// that the restored file holds the passage at the result's old offsets. A page whose
// replacements of the file came from another walk (one not undone, or undone before)
// keeps them marked.
std::size_t MarkRestoredResults(CSearchResultArray& page,
                                const std::vector<std::string>& restoredPaths,
                                const std::function<bool(const CSearchResult&)>& holdsPassage);

// The restored files as a search reads them, each read once for every encoding choice
// asked for, to check passages against.
class CRestoredFiles {
public:
    explicit CRestoredFiles(kestrix::FileSystem& fs) : fs_(fs) {}
    // Whether the file of `result` holds its passage at [start, end) when read with
    // `choice`; false when the file cannot be read.
    bool HoldsPassage(const CSearchResult& result, CEncodingChoice choice);

private:
    kestrix::FileSystem& fs_;
    std::map<std::pair<std::string, CEncodingChoice>, std::optional<std::string>> texts_;
};

} // namespace sorbex
