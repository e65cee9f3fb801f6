// The compiled patterns of the current search expression, addressed by index.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/PatternMatcher.h"

namespace sorbex {

// Holds the matchers from one compile of a search expression until the next, and the
// slot of the matcher that FindMatch searches with. A compiled expression tree refers
// to its registry, which must outlive it and must not be cleared while it is in use.
class CPatternRegistry {
public:
    // Compiles `pattern` with the matcher of the search method in `flags` (a search flag
    // word) and appends it. Returns its index; throws CExprError with the compile
    // error's number, dropping the matcher.
    int Add(const std::string& pattern, unsigned flags);

    // False when `index` names no matcher; otherwise the matcher's Activate/Deactivate.
    bool Activate(int index);
    bool Deactivate(int index);

    void Clear();
    // Makes every matcher of the registry find nothing more from its next line on; the
    // registry serves no other search afterwards.
    void Stop() { stopped.store(true); }
    std::size_t size() const { return matchers.size(); }

    // The active matcher's FindMatch; nothing is found while none is active.
    bool FindMatch(const char* text, std::size_t length, int group, int& start, int& end);

private:
    CPatternMatcher* At(int index) const;

    std::vector<std::unique_ptr<CPatternMatcher>> matchers;
    CPatternMatcher* active = nullptr;
    std::atomic<bool> stopped{false};
};

} // namespace sorbex
