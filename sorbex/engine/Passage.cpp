// Bulk operations on a passage list.
#include "engine/Passage.h"

#include <algorithm>

namespace sorbex {

void CPassageList::MarkAll() {
    for (CPassage& passage : passages) {
        passage.marked = true;
    }
}

void CPassageList::RemoveUnmarked() {
    passages.erase(std::remove_if(passages.begin(), passages.end(),
                                  [](const CPassage& passage) { return !passage.marked; }),
                   passages.end());
}

} // namespace sorbex
