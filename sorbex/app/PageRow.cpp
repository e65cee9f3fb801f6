// The row of result pages: where a new page goes, the page limit, and the row's
// commands on the result document.
#include "app/PageRow.h"

namespace sorbex {

std::size_t PagesKeptForNewPage(std::size_t oldPages, std::optional<int> limit) {
    if (!limit)
        return oldPages;
    const auto kept = static_cast<std::size_t>(*limit < 1 ? 0 : *limit - 1);
    return oldPages < kept ? oldPages : kept;
}

void PlaceNewPage(CTabDoc& document, std::optional<int> limit) {
    if (document.size() == 0)
        return;
    const std::size_t kept = PagesKeptForNewPage(document.size() - 1, limit);
    // The new page is the last one; the old pages beyond the limit stand before it.
    while (document.size() - 1 > kept)
        document.DeletePage(document.size() - 2);
    document.MovePage(document.size() - 1, 0);
}

bool DeleteCurrentPage(CTabDoc& document) {
    if (document.size() < 2 || !document.CurrentPage())
        return false;
    return document.DeletePage(document.currentIndex());
}

bool ShiftCurrentPage(CTabDoc& document, bool left) {
    if (!document.CurrentPage())
        return false;
    const std::size_t index = document.currentIndex();
    if (left ? index == 0 : index + 1 >= document.size())
        return false;
    document.MovePage(index, left ? index - 1 : index + 1);
    document.MarkModified();
    return true;
}

bool RenamePage(CTabDoc& document, std::size_t index, const std::string& caption) {
    if (index >= document.size())
        return false;
    if (document[index].caption != caption) {
        document[index].caption = caption;
        document.MarkModified();
    }
    return true;
}

} // namespace sorbex
