// Walking the results of a page: to the previous or next result, or to the first result
// of the previous or next file.
#pragma once

#include <optional>

#include "search/SearchResultArray.h"

namespace sorbex {

enum class CStep { PreviousResult, NextResult, PreviousFile, NextFile };

// The index the step leads to from `current` (-1 before the first step), or nullopt
// when the step is not possible; a command is enabled exactly when its step is.
std::optional<int> StepTarget(const CSearchResultArray& results, int current, CStep step);

} // namespace sorbex
