// The results of one result page, in the order the search run recorded them.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "search/SearchResult.h"

namespace sorbex {

class CSearchResultArray {
public:
    // Takes ownership; a null result is not kept.
    void Add(std::unique_ptr<CSearchResult> result);
    void RemoveAll() { results_.clear(); }

    std::size_t size() const { return results_.size(); }
    bool empty() const { return results_.empty(); }
    CSearchResult& operator[](std::size_t index) { return *results_[index]; }
    const CSearchResult& operator[](std::size_t index) const { return *results_[index]; }

    // A count, then each result with its object tag.
    void Store(CArchiveWriter& archive) const;

    // Replaces the results held. Throws CArchiveError, leaving the array empty, when
    // the bytes are damaged or hold something other than results of this version:
    // once one record cannot be read, nothing after it can be found.
    void Load(CArchiveReader& archive);

private:
    std::vector<std::unique_ptr<CSearchResult>> results_;
};

} // namespace sorbex
