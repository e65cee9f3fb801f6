// One page of search results: its caption, the request that filled it and its results.
#pragma once

#include <string>

#include "search/SearchRequest.h"
#include "search/SearchResultArray.h"

namespace sorbex {

class CFileFindDoc {
public:
    explicit CFileFindDoc(std::string caption) : caption(std::move(caption)) {}

    std::string caption;
    // Kept in memory only, to decide whether the next search may reuse the page.
    CSearchRequest request;
    CSearchResultArray results;
    int current = -1; // the result walked to last; -1 before the first step
    // The stream of the result file that holds the results ("P%lx"); empty for a page
    // without results or not stored yet.
    std::string streamName;
};

} // namespace sorbex
