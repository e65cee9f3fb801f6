// The result document: the pages of search results, in the order they were made.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "search/FileFindDoc.h"

namespace sorbex {

class CResultDocument {
public:
    // Appends a page and makes it the current one.
    CFileFindDoc& AddPage(const std::string& caption);
    // Drops a page that never received a window; the page before it becomes current.
    void RemovePage(const CFileFindDoc& page);

    // Moves the page at `from` to `to`, the pages between closing up; the page moved
    // becomes the current one.
    void MovePage(std::size_t from, std::size_t to);

    // nullptr while the document has no page.
    CFileFindDoc* CurrentPage();
    void SetCurrentPage(std::size_t index);

    // The index of the current page; meaningless while the document has no page.
    std::size_t currentIndex() const { return current_; }
    std::size_t size() const { return pages_.size(); }
    CFileFindDoc& operator[](std::size_t index) { return *pages_[index]; }

private:
    std::vector<std::unique_ptr<CFileFindDoc>> pages_;
    std::size_t current_ = 0;
};

} // namespace sorbex
