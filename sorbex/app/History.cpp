// A history list of a definition page: the texts entered before, most recent first.
#include "app/History.h"

#include <algorithm>

namespace sorbex {

CHistoryChange CHistoryList::Add(const std::string& text) {
    CHistoryChange change;
    if (text.empty())
        return change;
    const auto found = std::find(entries_.begin(), entries_.end(), text);
    if (found != entries_.end() && found == entries_.begin())
        return change;
    if (found != entries_.end()) {
        change.removedAt = static_cast<int>(found - entries_.begin());
        entries_.erase(found);
    }
    entries_.insert(entries_.begin(), text);
    change.inserted = true;
    return change;
}

} // namespace sorbex
