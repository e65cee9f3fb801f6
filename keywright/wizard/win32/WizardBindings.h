// The wizard window's tables: which control plays which role, which check box holds
// which choice, and the controls that move together.
#pragma once

#include "wizard/ReplaceWizard.h"
#include "wizard/WizardStates.h"
#include "wizard/WizardStrings.h"
#include "wizard/win32/WizardWindowIds.h"

#include <windows.h>

namespace keywright {

struct ControlBinding {
    WizardControl role;
    int id;
};

inline constexpr ControlBinding kControls[] = {
    {kCtlWhatGroup, KW_IDC_WIZ_WHAT},
    {kCtlFindLabel, KW_IDC_WIZ_FIND_LABEL},
    {kCtlFind, KW_IDC_WIZ_FIND},
    {kCtlReplaceLabel, KW_IDC_WIZ_REPLACE_LABEL},
    {kCtlReplace, KW_IDC_WIZ_REPLACE},
    {kCtlReplaceInGroup, KW_IDC_WIZ_REPLACE_IN},
    {kCtlKeys, KW_IDC_WIZ_KEYS},
    {kCtlValues, KW_IDC_WIZ_VALUES},
    {kCtlData, KW_IDC_WIZ_DATA},
    {kCtlMatchGroup, KW_IDC_WIZ_MATCH},
    {kCtlCase, KW_IDC_WIZ_CASE},
    {kCtlWholeString, KW_IDC_WIZ_WHOLE_STRING},
    {kCtlSearchInGroup, KW_IDC_WIZ_SEARCH_IN},
    {kCtlWholeRegistry, KW_IDC_WIZ_ALL},
    {kCtlSelectedKey, KW_IDC_WIZ_SELECTED},
    {kCtlHkcr, KW_IDC_WIZ_HKCR},
    {kCtlHkcu, KW_IDC_WIZ_HKCU},
    {kCtlHklm, KW_IDC_WIZ_HKLM},
    {kCtlHku, KW_IDC_WIZ_HKU},
    {kCtlHkcc, KW_IDC_WIZ_HKCC},
    {kCtlHkdd, KW_IDC_WIZ_HKDD},
    {kCtlList, KW_IDC_WIZ_RESULTS},
    {kCtlStop, KW_IDC_WIZ_STOP},
    {kCtlKeysLabel, KW_IDC_WIZ_KEYS_LABEL},
    {kCtlKeysCount, KW_IDC_WIZ_KEYS_COUNT},
    {kCtlValuesLabel, KW_IDC_WIZ_VALUES_LABEL},
    {kCtlValuesCount, KW_IDC_WIZ_VALUES_COUNT},
    {kCtlDataLabel, KW_IDC_WIZ_DATA_LABEL},
    {kCtlDataCount, KW_IDC_WIZ_DATA_COUNT},
    {kCtlSearchState, KW_IDC_WIZ_SEARCH_STATE},
    {kCtlRemove, KW_IDC_WIZ_REMOVE},
    {kCtlDetail, KW_IDC_WIZ_DETAIL},
    {kCtlApply, KW_IDC_WIZ_APPLY},
    {kCtlUndo, KW_IDC_WIZ_UNDO},
    {kCtlInfo, KW_IDC_WIZ_INFO},
    {kCtlStep1, KW_IDC_WIZ_STEP1},
    {kCtlStep2, KW_IDC_WIZ_STEP2},
    {kCtlStep3, KW_IDC_WIZ_STEP3},
    {kCtlStep4, KW_IDC_WIZ_STEP4},
    {kCtlBack, KW_IDC_WIZ_BACK},
    {kCtlNext, KW_IDC_WIZ_NEXT},
    {kCtlClose, IDCANCEL},
    {kCtlUpperDivider, KW_IDC_WIZ_UPPER_DIVIDER},
    {kCtlLowerDivider, KW_IDC_WIZ_LOWER_DIVIDER},
};
static_assert(sizeof kControls / sizeof kControls[0] == kWizardControlCount,
              "every control bound once");

// Step 1's check boxes and what they choose.
struct CheckBinding {
    int id;
    bool WizardCriteria::*field;
};

inline constexpr CheckBinding kChecks[] = {
    {KW_IDC_WIZ_KEYS, &WizardCriteria::keys},   {KW_IDC_WIZ_VALUES, &WizardCriteria::values},
    {KW_IDC_WIZ_DATA, &WizardCriteria::data},   {KW_IDC_WIZ_CASE, &WizardCriteria::matchCase},
    {KW_IDC_WIZ_WHOLE_STRING, &WizardCriteria::wholeString},
    {KW_IDC_WIZ_HKCR, &WizardCriteria::hkcr},   {KW_IDC_WIZ_HKCU, &WizardCriteria::hkcu},
    {KW_IDC_WIZ_HKLM, &WizardCriteria::hklm},   {KW_IDC_WIZ_HKU, &WizardCriteria::hku},
    {KW_IDC_WIZ_HKCC, &WizardCriteria::hkcc},   {KW_IDC_WIZ_HKDD, &WizardCriteria::hkdd},
};

inline constexpr int kRootChecks[] = {KW_IDC_WIZ_HKCR, KW_IDC_WIZ_HKCU, KW_IDC_WIZ_HKLM,
                               KW_IDC_WIZ_HKU,  KW_IDC_WIZ_HKCC, KW_IDC_WIZ_HKDD};
inline constexpr int kStepBoxes[] = {KW_IDC_WIZ_STEP1, KW_IDC_WIZ_STEP2, KW_IDC_WIZ_STEP3,
                              KW_IDC_WIZ_STEP4};
// Beside the list's top, moving with the right edge.
inline constexpr int kSideButtons[] = {KW_IDC_WIZ_STOP, KW_IDC_WIZ_REMOVE, KW_IDC_WIZ_APPLY,
                                KW_IDC_WIZ_UNDO};
// Under the list in step 2, moving with the lower edge.
inline constexpr int kProgressLabels[] = {KW_IDC_WIZ_KEYS_LABEL,   KW_IDC_WIZ_KEYS_COUNT,
                                   KW_IDC_WIZ_VALUES_LABEL, KW_IDC_WIZ_VALUES_COUNT,
                                   KW_IDC_WIZ_DATA_LABEL,   KW_IDC_WIZ_DATA_COUNT,
                                   KW_IDC_WIZ_SEARCH_STATE};
inline constexpr int kCountLabels[] = {KW_IDC_WIZ_KEYS_COUNT, KW_IDC_WIZ_VALUES_COUNT,
                                KW_IDC_WIZ_DATA_COUNT};

struct Column {
    unsigned title;
    int width; // column 0 is then laid out from the list's width
};
inline constexpr Column kColumns[] = {
    {kStrColumnResult, 300}, {kStrColumnType, 45}, {kStrColumnApplied, 75}};

} // namespace keywright
