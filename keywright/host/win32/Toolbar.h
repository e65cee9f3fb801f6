// The add-in's toolbar on the editor's main window: its buttons, tooltips and the
// Back / Forward states.
#pragma once

#include "host/win32/HostProfile.h"

#include <windows.h>

#include <commctrl.h>

namespace keywright {

constexpr int kToolbarId = 1004;
constexpr int kToolbarButtonCount = 14;

// Creates the toolbar (not yet shown: the layout shows it); flat when `flat`.
HWND CreateAddinToolbar(HWND frame, HINSTANCE own, const HostProfile& host, bool flat);

// Whether the flat style may be used: the setting FlatTB is 1 and the common
// controls are 4.71 or later.
bool WantFlatToolbar();

// TTN_NEEDTEXT, in either character set: fills the tooltip of a command.
void FillToolbarTooltip(const HostProfile& host, NMHDR* header);

// Enables Go Back and Go Forward after the history's state.
void UpdateHistoryButtons();

} // namespace keywright
