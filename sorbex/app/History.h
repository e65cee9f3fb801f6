// A history list of a definition page: the texts entered before, most recent first.
#pragma once

#include <string>
#include <vector>

namespace sorbex {

// What adding a text did, so that the drop-down list beside the history can take the
// same steps.
struct CHistoryChange {
    int removedAt = -1;    // the entry taken out of its old place, or -1
    bool inserted = false; // the text was put at the front
};

// Unlimited in memory; the limit applies when the list is written to the profile.
class CHistoryList {
public:
    CHistoryList() = default;
    explicit CHistoryList(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    // The text goes to the front. An entry already first only stays selected; one
    // further down moves to the front. An empty text is not kept: the profile's lists
    // end at their first empty entry, so storing one would hide every entry after it.
    CHistoryChange Add(const std::string& text);

    const std::vector<std::string>& entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

} // namespace sorbex
