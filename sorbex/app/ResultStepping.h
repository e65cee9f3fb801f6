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

// What happens to a page that may move its current result.
enum class CPageEvent {
    RunStarted,     // a search or a listing begins to fill the page
    RunEnded,       // its run has ended, finished or cancelled
    PageShown,      // the page is drawn anew: its tab was chosen, its document opened
    PositionChosen, // the reader put the caret on the page's text
};

// The current result after `event` on a page of `count` results that had `current`;
// `chosen` is the result at the chosen position (-1: a bar, the header, the closing
// line). A run leaves no result current unless the reader chose one while it went on,
// so that F6 and F8 begin at the first result; a position on no result leaves the
// current one as it was.
int CurrentResultAfter(CPageEvent event, int current, int count, int chosen = -1);

} // namespace sorbex
