// Passages found in a text and the list that an expression node yields.
#pragma once

#include <cstddef>
#include <vector>

namespace sorbex {

struct CPassage {
    int start = 0;       // byte offset of the first byte in the text
    int end = 0;         // byte offset one past the last byte
    bool marked = false; // belongs to the subexpression chosen for replacement
};

// The passages of one node in ascending order, and whether the node's truth is the
// opposite of holding them (the list of a not).
class CPassageList {
public:
    std::vector<CPassage> passages;
    bool inverted = false;

    // Not inverted: true when it holds a passage; inverted: true when it holds none.
    bool IsTrue() const { return inverted ? passages.empty() : !passages.empty(); }

    bool empty() const { return passages.empty(); }
    std::size_t size() const { return passages.size(); }

    void MarkAll();
    void RemoveUnmarked();
};

} // namespace sorbex
