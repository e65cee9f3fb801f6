// The results of a page whose files an undo put back: not replaced again, at their old offsets.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "search/SearchResultArray.h"

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

} // namespace sorbex
