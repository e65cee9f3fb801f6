// The table at the top of a result page that repeats the search and shows its counters.
#pragma once

#include <string>
#include <vector>

#include "app/RichText.h"
#include "search/SearchRequest.h"
#include "search/SearchUi.h"

namespace sorbex {

struct CCellPlace {
    int row = -1; // -1: the table has no such cell
    int column = -1;
};

struct CHeaderTable {
    std::vector<CTableRow> rows;
    CCellPlace passagesCell; // only with a search expression
    CCellPlace filesCell;
};

// Six rows for a search, four for a listing (an empty expression), with the counter
// cells empty. With the phonetic method "Case sensitive" and its value are greyed and
// the value is "No", whatever the request says.
CHeaderTable BuildHeaderTable(const CSearchRequest& request);

// The counters' texts: "%ld" passages, "%ld / %ld" files with results of files examined
// (for a listing: entries listed of files seen).
std::string PassagesCounterText(const CSearchCounters& counters);
std::string FilesCounterText(const CSearchCounters& counters);

// Fills the counter cells of `table`.
void SetHeaderCounters(CHeaderTable& table, const CSearchCounters& counters);

} // namespace sorbex
