// Where a window stored in the profile comes back: on a monitor the user still has,
// with enough of its caption showing to be taken and moved.
#pragma once

#include <vector>

#include "app/FrameLayout.h"

namespace sorbex {

// How much of a window's top edge must lie on a work area for it to stay where it was:
// the caption's height, and a stretch of it wide enough to take with the mouse.
constexpr int kCaptionGrip = 24;
constexpr int kMinVisibleCaption = 64;

// The rectangle `window` where the user can reach it on `workAreas` (the monitors' work
// areas, the primary one first). A window whose caption shows enough on one of them
// stays as it is; any other moves onto the area it overlaps most (the first when it
// overlaps none), made smaller where it is bigger than that area. No work areas leave
// the window as it is.
CRect KeepOnWorkArea(const CRect& window, const std::vector<CRect>& workAreas);

} // namespace sorbex
