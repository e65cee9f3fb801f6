// The numbers of the replacement wizard's texts in the add-in's string table.
#pragma once

#include "registry/SearchStatus.h"

namespace keywright {

// Row types and the "Applied" column.
constexpr unsigned kStrRowKey = 2131;
constexpr unsigned kStrRowValue = 2132;
constexpr unsigned kStrRowData = 2133;
constexpr unsigned kStrAppliedNo = 2134;
constexpr unsigned kStrAppliedYes = 2135;
constexpr unsigned kStrAppliedFailed = 2136;
constexpr unsigned kStrUndoFailed = 2137;
constexpr unsigned kStrUndone = 2138;
constexpr unsigned kStrColumnResult = 2139;
constexpr unsigned kStrColumnType = 2140;
constexpr unsigned kStrColumnApplied = 2141;
// Entry checks.
constexpr unsigned kStrStopBeforeBack = 2149;
constexpr unsigned kStrBothTexts = 2150;
constexpr unsigned kStrTextsIdentical = 2151;
constexpr unsigned kStrNoWayBack = 2152;
constexpr unsigned kStrStopBeforeNext = 2153;
// Titles of steps 1 to 4 and the step texts of states 1 to 6.
constexpr unsigned kStrFirstTitle = 2500;
constexpr unsigned kStrFirstStepText = 2504;
constexpr unsigned kStrCancel = 2510;
constexpr unsigned kStrDone = 2511;
// Proposed changes that do not fit, and the apply.
constexpr unsigned kStrReviewKeyError = 2512;
constexpr unsigned kStrReviewValueError = 2513;
constexpr unsigned kStrReviewDataError = 2514;
constexpr unsigned kStrApplyKeyTooLong = 2515;
constexpr unsigned kStrApplyValueTooLong = 2516;
constexpr unsigned kStrRenameValueFailed = 2517; // key path, value name
constexpr unsigned kStrReplaceDataFailed = 2518; // key path, value name
constexpr unsigned kStrRowDataLost = 2519;
constexpr unsigned kStrRichEditLibrary = 2520;
constexpr unsigned kStrRichEditWindow = 2521;
// Labels of the detail window.
constexpr unsigned kStrLabelOldKey = 2522;
constexpr unsigned kStrLabelNewKey = 2523;
constexpr unsigned kStrLabelKey = 2524;
constexpr unsigned kStrLabelOldValue = 2525;
constexpr unsigned kStrLabelNewValue = 2526;
constexpr unsigned kStrLabelValue = 2527;
constexpr unsigned kStrLabelOldData = 2528;
constexpr unsigned kStrLabelNewData = 2529;
// Changes that would overwrite what is there: old location, new location; location.
constexpr unsigned kStrNameTaken = 2560;
constexpr unsigned kStrDataChangedSinceSearch = 2561;
constexpr unsigned kStrDataChangedSinceApply = 2562;
// Popup help of the controls, 2530 to 2551.
constexpr unsigned kStrFirstHelp = 2530;
// The progress labels' counts: the plain number.
constexpr unsigned kStrPlainCount = 2552;
inline constexpr StatusFormats kPlainCountFormats = {
    {kStrPlainCount, kStrPlainCount, kStrPlainCount},
    {kStrPlainCount, kStrPlainCount, kStrPlainCount},
};
// The warning before the wizard opens: three texts joined without separators.
constexpr unsigned kStrWarningParts[] = {5020, 5021, 5022};

} // namespace keywright
