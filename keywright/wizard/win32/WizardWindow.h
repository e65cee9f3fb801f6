// The modeless replacement wizard (dialog 215): the window over the portable wizard.
#pragma once

#include <windows.h>

namespace keywright {

// Shows the warning before changing the registry, then opens a new wizard on the
// desktop. Returns the wizard, or null when it could not be made.
HWND OpenReplaceWizard(HWND frame);

} // namespace keywright
