// Attaching the add-in to the editor's windows, and letting go of them again.
#pragma once

#include <windows.h>

namespace keywright {

void Attach(HWND frame);

// Undoes Attach; safe to call when not attached.
void Detach();

} // namespace keywright
