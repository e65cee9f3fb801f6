// The modeless "Search" window: the search's options, its result list and status
// bar, and a click on a result that takes the editor there.
#pragma once

#include <windows.h>

namespace keywright {

// Opens a new search window on the desktop (each call opens another one).
HWND OpenSearchWindow();

} // namespace keywright
