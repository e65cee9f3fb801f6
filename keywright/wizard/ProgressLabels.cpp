// The progress labels' update rule.
#include "wizard/ProgressLabels.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

void ProgressLabels::Reset() {
    shownKind_ = 0;
    for (std::uint32_t& shown : shownHundreds_)
        shown = 0;
}

ProgressLabelUpdate ProgressLabels::Update(const SearchProgress& progress) {
    ProgressLabelUpdate update;
    const bool ended = progress.kind == kSearchCompleted || progress.kind == kSearchInterrupted;
    if (progress.kind != shownKind_) {
        update.stateText = progress.kind == kSearchCompleted     ? kStrSearchCompleted
                           : progress.kind == kSearchInterrupted ? kStrSearchInterrupted
                                                                 : kStrSearching;
        shownKind_ = progress.kind;
    }
    const SearchCounters& c = progress.counters;
    if (ended) {
        update.counts[0] = c.keysFound;
        update.counts[1] = c.valuesFound;
        update.counts[2] = c.dataFound;
        return update;
    }
    // The running counts change with every key; a label is rewritten only as its
    // count passes another hundred, showing that multiple of 100.
    const std::uint32_t counts[3] = {c.keysVisited, c.valuesVisited, c.dataExamined};
    for (int i = 0; i < 3; ++i) {
        std::uint32_t hundreds = counts[i] / 100;
        if (hundreds != 0 && hundreds != shownHundreds_[i]) {
            update.counts[i] = hundreds * 100;
            shownHundreds_[i] = hundreds;
        }
    }
    return update;
}

} // namespace keywright
