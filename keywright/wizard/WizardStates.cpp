// The wizard's state table: pages, entry checks, the screen of each state, and the
// state change.
#include "wizard/WizardStates.h"

#include "wizard/WizardStrings.h"

#include <iterator>

namespace keywright {

namespace {

// Pages as bits: step 1, step 2, step 3, and the page that states 4 to 6 share.
enum PageBits : unsigned {
    kPageDefine = 1,
    kPageSearch = 2,
    kPageReview = 4,
    kPageApply = 8,
};

struct ControlRow {
    WizardControl control;
    unsigned pages;
    unsigned help;
};

constexpr unsigned kHelpFind = kStrFirstHelp, kHelpReplace = kStrFirstHelp + 1,
                   kHelpKeys = kStrFirstHelp + 2, kHelpValues = kStrFirstHelp + 3,
                   kHelpData = kStrFirstHelp + 4, kHelpCase = kStrFirstHelp + 5,
                   kHelpWhole = kStrFirstHelp + 6, kHelpWholeRegistry = kStrFirstHelp + 7,
                   kHelpSelectedKey = kStrFirstHelp + 8, kHelpRoot = kStrFirstHelp + 9,
                   kHelpList = kStrFirstHelp + 10, kHelpStop = kStrFirstHelp + 11,
                   kHelpProgress = kStrFirstHelp + 12, kHelpRemove = kStrFirstHelp + 13,
                   kHelpDetail = kStrFirstHelp + 14, kHelpApply = kStrFirstHelp + 15,
                   kHelpUndo = kStrFirstHelp + 16, kHelpBack = kStrFirstHelp + 17,
                   kHelpNext = kStrFirstHelp + 18, kHelpClose = kStrFirstHelp + 19,
                   kHelpInfo = kStrFirstHelp + 20, kHelpSteps = kStrFirstHelp + 21;

// In the order of the enumeration. A group box or label explains what it frames.
constexpr ControlRow kControls[] = {
    {kCtlWhatGroup, kPageDefine, kHelpFind},
    {kCtlFindLabel, kPageDefine, kHelpFind},
    {kCtlFind, kPageDefine, kHelpFind},
    {kCtlReplaceLabel, kPageDefine, kHelpReplace},
    {kCtlReplace, kPageDefine, kHelpReplace},
    {kCtlReplaceInGroup, kPageDefine, kHelpData},
    {kCtlKeys, kPageDefine, kHelpKeys},
    {kCtlValues, kPageDefine, kHelpValues},
    {kCtlData, kPageDefine, kHelpData},
    {kCtlMatchGroup, kPageDefine, kHelpCase},
    {kCtlCase, kPageDefine, kHelpCase},
    {kCtlWholeString, kPageDefine, kHelpWhole},
    {kCtlSearchInGroup, kPageDefine, kHelpWholeRegistry},
    {kCtlWholeRegistry, kPageDefine, kHelpWholeRegistry},
    {kCtlSelectedKey, kPageDefine, kHelpSelectedKey},
    {kCtlHkcr, kPageDefine, kHelpRoot},
    {kCtlHkcu, kPageDefine, kHelpRoot},
    {kCtlHklm, kPageDefine, kHelpRoot},
    {kCtlHku, kPageDefine, kHelpRoot},
    {kCtlHkcc, kPageDefine, kHelpRoot},
    {kCtlHkdd, kPageDefine, kHelpRoot},
    {kCtlList, kPageSearch | kPageReview | kPageApply, kHelpList},
    {kCtlStop, kPageSearch, kHelpStop},
    {kCtlKeysLabel, kPageSearch, kHelpProgress},
    {kCtlKeysCount, kPageSearch, kHelpProgress},
    {kCtlValuesLabel, kPageSearch, kHelpProgress},
    {kCtlValuesCount, kPageSearch, kHelpProgress},
    {kCtlDataLabel, kPageSearch, kHelpProgress},
    {kCtlDataCount, kPageSearch, kHelpProgress},
    {kCtlSearchState, kPageSearch, kHelpProgress},
    {kCtlRemove, kPageReview, kHelpRemove},
    {kCtlDetail, kPageReview, kHelpDetail},
    {kCtlApply, kPageApply, kHelpApply},
    {kCtlUndo, kPageApply, kHelpUndo},
    {kCtlInfo, 0, kHelpInfo},
    {kCtlStep1, 0, kHelpSteps},
    {kCtlStep2, 0, kHelpSteps},
    {kCtlStep3, 0, kHelpSteps},
    {kCtlStep4, 0, kHelpSteps},
    {kCtlBack, 0, kHelpBack},
    {kCtlNext, 0, kHelpNext},
    {kCtlClose, 0, kHelpClose},
    {kCtlUpperDivider, 0, 0},
    {kCtlLowerDivider, 0, 0},
};
static_assert(std::size(kControls) == kWizardControlCount, "one row per control");

constexpr bool RowsInEnumOrder() {
    for (std::size_t i = 0; i < std::size(kControls); ++i)
        if (kControls[i].control != static_cast<WizardControl>(i))
            return false;
    return true;
}
static_assert(RowsInEnumOrder(), "rows in the order of the enumeration");

unsigned PageOf(WizardState state) {
    switch (state) {
    case kStateDefine:
        return kPageDefine;
    case kStateSearch:
        return kPageSearch;
    case kStateReview:
        return kPageReview;
    default:
        return kPageApply;
    }
}

using B = ButtonSetting;

struct ScreenRow {
    WizardState state;
    bool back, next;
    ButtonSetting apply, undo;
    unsigned closeText;
    int step; // 1 to 4
};

constexpr ScreenRow kScreens[] = {
    {kStateDefine, false, true, B::Unchanged, B::Unchanged, 0, 1},
    {kStateSearch, true, true, B::Unchanged, B::Unchanged, kStrCancel, 2},
    {kStateReview, true, true, B::Unchanged, B::Unchanged, kStrCancel, 3},
    {kStateReady, true, false, B::Enabled, B::Disabled, 0, 4},
    {kStateApplied, false, false, B::Disabled, B::Enabled, kStrDone, 4},
    {kStateUndone, false, false, B::Enabled, B::Disabled, kStrDone, 4},
};

const char* StateName(WizardState state) {
    static const char* const names[] = {"define", "search", "review", "ready", "applied", "undone"};
    return state >= kStateDefine && state <= kStateUndone ? names[state - 1] : "?";
}

} // namespace

bool OnPage(WizardControl control, WizardState state) {
    return control >= 0 && control < kWizardControlCount &&
           (kControls[control].pages & PageOf(state)) != 0;
}

unsigned HelpTextOf(WizardControl control) {
    return control >= 0 && control < kWizardControlCount ? kControls[control].help : 0;
}

WizardScreen ScreenOf(WizardState state) {
    WizardScreen screen;
    for (const ScreenRow& row : kScreens) {
        if (row.state != state)
            continue;
        screen.backEnabled = row.back;
        screen.nextEnabled = row.next;
        screen.apply = row.apply;
        screen.undo = row.undo;
        screen.closeText = row.closeText;
        screen.title = kStrFirstTitle + static_cast<unsigned>(row.step - 1);
        screen.stepText = kStrFirstStepText + static_cast<unsigned>(state - kStateDefine);
        screen.focus = row.step < 4 ? WizardFocus::Next : WizardFocus::Close;
        for (int box = 1; box <= 4; ++box)
            screen.stepTicked[box - 1] = box < row.step || (box == 4 && state == kStateApplied);
    }
    return screen;
}

unsigned EntryRefusal(WizardState current, WizardState target, const EntryFacts& facts) {
    switch (target) {
    case kStateDefine:
        return facts.searchRunning ? kStrStopBeforeBack : 0;
    case kStateSearch:
        if (facts.findText.empty() || facts.replacementText.empty())
            return kStrBothTexts;
        return facts.findText == facts.replacementText ? kStrTextsIdentical : 0;
    case kStateReview:
        if (current == kStateApplied || current == kStateUndone)
            return kStrNoWayBack;
        return facts.searchRunning ? kStrStopBeforeNext : 0;
    default:
        return 0;
    }
}

WizardState StateAfterApply(WizardState current, bool stopped, bool anyUndoable) {
    return stopped && !anyUndoable ? current : kStateApplied;
}

unsigned WizardMachine::ChangeState(WizardState target, const EntryFacts& facts) {
    unsigned refusal = EntryRefusal(state_, target, facts);
    if (trace_)
        trace_(std::string("wizard: ") + StateName(state_) + " -> " + StateName(target) +
               (refusal ? " refused (" + std::to_string(refusal) + ")" : std::string()));
    if (refusal == 0)
        state_ = target;
    return refusal;
}

std::optional<WizardState> WizardMachine::NextTarget() const {
    if (state_ >= kStateDefine && state_ <= kStateReview)
        return static_cast<WizardState>(state_ + 1);
    return std::nullopt;
}

std::optional<WizardState> WizardMachine::BackTarget() const {
    if (state_ >= kStateSearch && state_ <= kStateReady)
        return static_cast<WizardState>(state_ - 1);
    return std::nullopt;
}

} // namespace keywright
