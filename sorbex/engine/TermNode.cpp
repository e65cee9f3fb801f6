// Compiling a term's pattern and scanning a text for its passages.
#include "engine/TermNode.h"

#include <climits>
#include <cstdint>

#include "engine/PatternRegistry.h"

namespace sorbex {

int CTermNode::Compile(CPatternRegistry& patterns) {
    matcher = patterns.Add(pattern, flags);
    registry = &patterns;
    return pattern.size() > INT_MAX ? INT_MAX : static_cast<int>(pattern.size());
}

std::unique_ptr<CPassageList> CTermNode::Evaluate(const char* text, std::size_t length,
                                                  int subexpression) const {
    return EvaluateUpTo(text, length, subexpression, SIZE_MAX);
}

std::unique_ptr<CPassageList> CTermNode::EvaluateUpTo(const char* text, std::size_t length,
                                                      int subexpression, std::size_t most) const {
    auto list = std::make_unique<CPassageList>();
    if (!Extend(*list, text, length, subexpression, most)) {
        return nullptr;
    }
    return list;
}

bool CTermNode::Extend(CPassageList& list, const char* text, std::size_t length,
                       int subexpression, std::size_t most) const {
    if (registry == nullptr || !registry->Activate(matcher)) {
        return false;
    }
    const int local = subexpression - groupsBefore;
    const bool holdsSubexpression = subexpression > 0 && local > 0 && local <= groupsInside;
    const int group = holdsSubexpression ? local - strippedPairs : 0;

    // Passage offsets are int; a text beyond that is scanned up to INT_MAX bytes.
    const std::size_t limit = length < INT_MAX ? length : INT_MAX;
    // Each scan goes on from the end of the passage before it.
    std::size_t pos =
        list.empty() ? 0 : static_cast<std::size_t>(list.passages.back().end);
    while (pos < limit && list.passages.size() < most) {
        int start = 0;
        int end = 0;
        if (!registry->FindMatch(text + pos, limit - pos, group, start, end) || start < 0 ||
            end <= 0) {
            break;
        }
        const int base = static_cast<int>(pos);
        list.passages.push_back({base + start, base + end, holdsSubexpression});
        pos += static_cast<std::size_t>(end);
    }
    registry->Deactivate(matcher);
    return true;
}

} // namespace sorbex
