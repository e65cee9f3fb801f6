// A window's placement between Windows and the profile, kept on the monitors the user
// has now: a window stored on a monitor that is gone comes back where it can be seen.
#pragma once

#include <windows.h>

#include "app/Profile.h"

namespace sorbex {

// The window's placement as the profile keeps it; false when Windows cannot tell it.
bool ReadWindowPlacement(HWND window, CWindowPlacementValue& stored);

// Places `window` as `stored` says, shown with `showCommand`, its normal rectangle moved
// onto a monitor's work area when too little of it would show.
void ApplyWindowPlacement(HWND window, const CWindowPlacementValue& stored, UINT showCommand);

// True when the child `window` already covers this rectangle of its parent's client area.
bool ChildStandsAt(HWND window, int left, int top, int width, int height);
// Moves and repaints a child, unless it stands there already: a layout run again with
// nothing changed (a frame of the fold that moves only a sibling) costs nothing.
void MoveChild(HWND window, int left, int top, int width, int height);

} // namespace sorbex
