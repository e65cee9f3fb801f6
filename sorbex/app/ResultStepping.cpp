// Walking the results of a page: to the previous or next result, or to the first result
// of the previous or next file.
#include "app/ResultStepping.h"

namespace sorbex {
namespace {

// The results of one file carry the same directory and name, as one walk wrote them.
bool SameFile(const CSearchResult& a, const CSearchResult& b) {
    return a.dir == b.dir && a.name == b.name;
}

std::optional<int> NextFile(const CSearchResultArray& results, int current) {
    const int count = static_cast<int>(results.size());
    if (current < 0)
        return count > 0 ? std::optional<int>(0) : std::nullopt;
    if (current >= count)
        return std::nullopt;
    for (int i = current + 1; i < count; ++i)
        if (!SameFile(results[i], results[current]))
            return i;
    return std::nullopt;
}

std::optional<int> PreviousFile(const CSearchResultArray& results, int current) {
    const int count = static_cast<int>(results.size());
    if (current <= 0 || current >= count)
        return std::nullopt;
    int i = current - 1;
    while (i >= 0 && SameFile(results[i], results[current]))
        --i;
    if (i < 0)
        return std::nullopt;
    while (i > 0 && SameFile(results[i - 1], results[i]))
        --i;
    return i;
}

} // namespace

std::optional<int> StepTarget(const CSearchResultArray& results, int current, CStep step) {
    const int count = static_cast<int>(results.size());
    switch (step) {
    case CStep::NextResult:
        if (current >= -1 && current < count - 1)
            return current + 1;
        return std::nullopt;
    case CStep::PreviousResult:
        if (current > 0 && current <= count)
            return current - 1;
        return std::nullopt;
    case CStep::NextFile:
        return NextFile(results, current);
    case CStep::PreviousFile:
        return PreviousFile(results, current);
    }
    return std::nullopt;
}

int CurrentResultAfter(CPageEvent event, int current, int count, int chosen) {
    switch (event) {
    case CPageEvent::RunStarted:
    case CPageEvent::PageShown:
        break;
    case CPageEvent::RunEnded:
        if (current >= 0 && current < count)
            return current;
        break;
    case CPageEvent::PositionChosen:
        if (chosen >= 0 && chosen < count)
            return chosen;
        return current;
    }
    return -1;
}

} // namespace sorbex
