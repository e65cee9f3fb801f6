// The wizard's two helper windows: the rich edit detail window under the result list,
// and the popup that shows a control's help text at the control.
#pragma once

#include "wizard/DetailText.h"

#include <windows.h>

#include <string>
#include <vector>

namespace keywright {

// Shows text `id` in a box owned by the active window and captioned with the path of
// the editor's program file, as faults of the add-in's own making are.
void ShowProgramMessage(unsigned id);

// Creates the detail window as a hidden child of `dialog` with control id `id`, from
// the newer rich edit library or else the older one. Shows the message the failure
// calls for and returns null when neither loads or the window cannot be made.
HWND CreateDetailWindow(HWND dialog, int id);

// Shows the segments in the detail window; an empty list clears it.
void ShowDetail(HWND detail, const std::vector<DetailSegment>& segments);

// A help text in a balloon below the middle of `control`, until the next help request,
// a click or key in the dialog, or a few seconds have passed.
class HelpPopup {
public:
    // The balloon is owned by the dialog and goes with it.
    HelpPopup() = default;
    HelpPopup(const HelpPopup&) = delete;
    HelpPopup& operator=(const HelpPopup&) = delete;

    void Show(HWND dialog, HWND control, const std::wstring& text);
    void Hide();
    // The dialog's timer message with this id hides the popup.
    static constexpr UINT_PTR kTimerId = 0x4B57;

private:
    HWND tip_ = nullptr;
    HWND dialog_ = nullptr;
    std::wstring text_;
};

} // namespace keywright
