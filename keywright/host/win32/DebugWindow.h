// The debug window: a log of what the add-in does, shown when ShowDebugWnd is 1.
#pragma once

#include "host/DebugLog.h"

#include <windows.h>

namespace keywright {

// Creates, shows and registers the window (at most one); it remembers its place in
// DebugWindowPos. The window owns its object.
void OpenDebugWindow();

// Where to log; null while no debug window exists, so logging does nothing.
DebugLog* AddinDebugLog();

} // namespace keywright
