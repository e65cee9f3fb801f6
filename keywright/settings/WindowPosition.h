// Saved window positions: their "%d %d %d %d" text and the centring used when none is saved.
#pragma once

#include "platform/Rect.h"

#include <string>

namespace keywright {

// Screen coordinates, as the system reports a window's rectangle.
using ScreenRect = kestrix::Rect;

// The text stored for no saved position.
constexpr const char* kNoWindowPosition = "-1 -1 -1 -1";

std::string FormatWindowPosition(const ScreenRect& rect);

// Reads a stored position. Returns false when none is saved: "-1 -1 -1 -1", and also
// a text that does not hold four numbers or gives an empty rectangle, since placing a
// window there would leave it invisible.
bool ParseWindowPosition(const char* text, ScreenRect* rect);

// Reads the four numbers of a stored position, fields split at single spaces.
bool ParseFourNumbers(const char* text, int numbers[4]);

// The same positions stored as left, top, width and height, as the mail dialog keeps
// its own. A text that does not hold four numbers, "-1 -1 -1 -1", and an empty size
// give no position.
std::string FormatWindowPlace(const ScreenRect& rect);
bool ParseWindowPlace(const char* text, ScreenRect* rect);

// How much of a window, each way, must lie on the screen for the user to see it and
// drag it back.
constexpr int kMinimumShown = 32;

// Whether a saved `window` rectangle can be used on `screen` (the whole desktop across
// its monitors): at least kMinimumShown pixels of it each way lie on it. A place saved
// on a monitor since removed, or a minimised window's parking place, cannot.
bool ShowsOnScreen(const ScreenRect& screen, const ScreenRect& window);

// `window` moved so that its centre is the centre of `owner`, its size unchanged.
ScreenRect CentreOver(const ScreenRect& owner, const ScreenRect& window);

} // namespace keywright
