// The row of result pages: where a new page goes, the page limit, and the row's
// commands on the result document.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "resultfile/TabDoc.h"

namespace sorbex {

// How many of the old pages stay when a new page is added: all of them without a
// limit, else at most limit - 1, so that the row holds `limit` pages with the new one.
std::size_t PagesKeptForNewPage(std::size_t oldPages, std::optional<int> limit);

// The page the search run has just appended goes to the left end of the row and
// becomes current, after the old pages beyond the limit were deleted from the right
// end (their streams with them).
void PlaceNewPage(CTabDoc& document, std::optional<int> limit);

// The page commands. Each returns false when the rule of its command does not allow it
// now; a change marks the document modified.
bool DeleteCurrentPage(CTabDoc& document);
bool ShiftCurrentPage(CTabDoc& document, bool left);
bool RenamePage(CTabDoc& document, std::size_t index, const std::string& caption);

// The height of the tab row: the height of "Gg" in the row's font and 5 pixels.
constexpr const char* kTabRowSampleText = "Gg";
inline int TabRowHeight(int sampleTextHeight) {
    return sampleTextHeight + 5;
}

} // namespace sorbex
