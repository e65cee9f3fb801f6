// What the wizard's progress labels show for each progress report of the search:
// the state text when it changes, running counts at each further hundred, found
// counts at the end.
#pragma once

#include "registry/RegistrySearch.h"

#include <cstdint>
#include <optional>

namespace keywright {

struct ProgressLabelUpdate {
    unsigned stateText = 0;                // string number; 0 leaves the label
    std::optional<std::uint32_t> counts[3]; // keys, values, data; empty leaves the label
};

class ProgressLabels {
public:
    // A new search: every label is written again.
    void Reset();
    ProgressLabelUpdate Update(const SearchProgress& progress);

private:
    int shownKind_ = 0;
    std::uint32_t shownHundreds_[3] = {};
};

} // namespace keywright
