// Putting keywright.dll into the editor's GUI thread and finding its control window.
#pragma once

#include <windows.h>

#include <string>

namespace kwlaunch {

// The add-in's hidden control window in `thread`, or null when it has none.
HWND FindControlWindow(DWORD thread);

// Loads keywright.dll from this program's folder, hooks `thread`, waits for the
// add-in's signal and returns its control window; null with `error` on failure.
HWND InstallAddin(DWORD thread, std::string* error);

} // namespace kwlaunch
