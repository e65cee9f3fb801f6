// Where the wizard's controls go when it is sized: the buttons keep their distance
// from the lower right corner, the dividers stretch, and the result list fills its
// page, leaving room for the progress labels or the detail window.
#pragma once

#include "platform/Rect.h"
#include "wizard/WizardStates.h"

namespace keywright {

using WizardRect = kestrix::Rect;

constexpr int kDetailHeight = 90;
// Column 0 takes the list's width less the two other columns (45 + 75) and room for
// the vertical scroll bar.
constexpr int kColumn0Margin = 130;

// The dialog as created, in client pixels: its size is also the smallest it takes.
struct WizardFrame {
    int firstWidth = 0;
    int firstHeight = 0;
    WizardRect upperDivider, lowerDivider;
    WizardRect back, next, close;
    WizardRect list;        // its left and top stay; its right edge leaves the side buttons room
    WizardRect sideButtons; // Stop, Remove, Apply and Undo, beside the list's top
    WizardRect progress;    // the progress labels, under the list in step 2
    int gap = 0;            // between the list and what lies below it
};

struct WizardPlacement {
    WizardRect upperDivider, lowerDivider;
    WizardRect back, next, close;
    WizardRect list, detail;
    int sideShift = 0;     // how far the side buttons move right
    int progressShift = 0; // how far the progress labels move down
    int column0 = 0;
};

// The layout for a client area of that size in `state`; a size below the first is
// laid out as the first.
WizardPlacement LayOutWizard(const WizardFrame& frame, int clientWidth, int clientHeight,
                             WizardState state);

} // namespace keywright
