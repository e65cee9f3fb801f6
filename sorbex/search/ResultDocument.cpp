// The result document: the pages of search results, in the order they were made.
#include "search/ResultDocument.h"

#include <algorithm>

namespace sorbex {

CFileFindDoc& CResultDocument::AddPage(const std::string& caption) {
    pages_.push_back(std::make_unique<CFileFindDoc>(caption));
    current_ = pages_.size() - 1;
    return *pages_.back();
}

void CResultDocument::RemovePage(const CFileFindDoc& page) {
    const auto found =
        std::find_if(pages_.begin(), pages_.end(), [&](const auto& p) { return p.get() == &page; });
    if (found == pages_.end())
        return;
    const auto index = static_cast<std::size_t>(found - pages_.begin());
    pages_.erase(found);
    if (current_ >= index && current_ > 0)
        --current_;
}

void CResultDocument::MovePage(std::size_t from, std::size_t to) {
    if (from >= pages_.size() || to >= pages_.size())
        return;
    auto page = std::move(pages_[from]);
    pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(from));
    pages_.insert(pages_.begin() + static_cast<std::ptrdiff_t>(to), std::move(page));
    current_ = to;
}

CFileFindDoc* CResultDocument::CurrentPage() {
    return current_ < pages_.size() ? pages_[current_].get() : nullptr;
}

void CResultDocument::SetCurrentPage(std::size_t index) {
    if (index < pages_.size())
        current_ = index;
}

} // namespace sorbex
