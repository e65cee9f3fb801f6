// The invisible window through which the launcher talks to the add-in.
#pragma once

#include <windows.h>

namespace keywright {

// Creates it on the calling thread from dialog 201, owned by nobody; the window owns
// its object.
HWND OpenHiddenControlWindow();

// The window while it exists, else null: where navigation threads report their end.
HWND HiddenControlWindowHandle();

} // namespace keywright
