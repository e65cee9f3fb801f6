// The replacement wizard's six states: what entering each one checks, what each one
// shows (buttons, title, step text, focus, ticks, page), and the one place where the
// state changes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace keywright {

enum WizardState : int {
    kStateDefine = 1,  // step 1: the search and its replacement
    kStateSearch = 2,  // step 2: searching or searched
    kStateReview = 3,  // step 3: the proposed changes
    kStateReady = 4,   // step 4: ready to apply
    kStateApplied = 5, // step 4 after Apply
    kStateUndone = 6,  // step 4 after Undo
};

// The wizard's controls by role; the window binds each role to its control.
enum WizardControl : int {
    // Step 1.
    kCtlWhatGroup,
    kCtlFindLabel,
    kCtlFind,
    kCtlReplaceLabel,
    kCtlReplace,
    kCtlReplaceInGroup,
    kCtlKeys,
    kCtlValues,
    kCtlData,
    kCtlMatchGroup,
    kCtlCase,
    kCtlWholeString,
    kCtlSearchInGroup,
    kCtlWholeRegistry,
    kCtlSelectedKey,
    kCtlHkcr,
    kCtlHkcu,
    kCtlHklm,
    kCtlHku,
    kCtlHkcc,
    kCtlHkdd,
    // Steps 2 to 4.
    kCtlList,
    kCtlStop,
    kCtlKeysLabel,
    kCtlKeysCount,
    kCtlValuesLabel,
    kCtlValuesCount,
    kCtlDataLabel,
    kCtlDataCount,
    kCtlSearchState,
    kCtlRemove,
    kCtlDetail,
    kCtlApply,
    kCtlUndo,
    // Always shown.
    kFirstFixedControl,
    kCtlInfo = kFirstFixedControl,
    kCtlStep1,
    kCtlStep2,
    kCtlStep3,
    kCtlStep4,
    kCtlBack,
    kCtlNext,
    kCtlClose,
    kCtlUpperDivider,
    kCtlLowerDivider,
    kWizardControlCount
};

// Whether `control` belongs to the page of `state` (states 4 to 6 share one page).
// Controls that are always shown belong to no page.
bool OnPage(WizardControl control, WizardState state);

// The number of the control's popup help text; 0 for the dividers.
unsigned HelpTextOf(WizardControl control);

// A button of the button table: left as it is, enabled or disabled.
enum class ButtonSetting : std::uint8_t { Unchanged, Enabled, Disabled };

enum class WizardFocus : std::uint8_t { Next, Close };

// What entering a state shows, apart from the page's controls.
struct WizardScreen {
    bool backEnabled = false;
    bool nextEnabled = false;
    ButtonSetting apply = ButtonSetting::Unchanged;
    ButtonSetting undo = ButtonSetting::Unchanged;
    unsigned closeText = 0; // string number of the Cancel/Done text; 0 leaves it
    unsigned title = 0;     // string number of the window title
    unsigned stepText = 0;  // string number of the information box's text
    WizardFocus focus = WizardFocus::Next;
    bool stepTicked[4] = {};
};

WizardScreen ScreenOf(WizardState state);

// What the entry checks look at.
struct EntryFacts {
    bool searchRunning = false;
    std::string_view findText;
    std::string_view replacementText;
};

// The number of the message that refuses entering `target` from `current`, or 0.
unsigned EntryRefusal(WizardState current, WizardState target, const EntryFacts& facts);

// The state after an Apply from `current`: applied, unless it stopped before changing
// anything, when the state stays. An apply that stopped after some rows were applied
// counts as applied, so that those rows can be undone.
WizardState StateAfterApply(WizardState current, bool stopped, bool anyUndoable);

class WizardMachine {
public:
    WizardState state() const { return state_; }

    // The one place the state changes: runs the target's entry check, then enters it.
    // Returns 0 when entered, else the number of the refusing message (the state
    // stays). Every attempt is traced.
    unsigned ChangeState(WizardState target, const EntryFacts& facts);

    // Where "&Next >" and "< &Back" lead from here, if anywhere.
    std::optional<WizardState> NextTarget() const;
    std::optional<WizardState> BackTarget() const;

    void SetTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }

private:
    WizardState state_ = kStateDefine;
    std::function<void(const std::string&)> trace_;
};

} // namespace keywright
