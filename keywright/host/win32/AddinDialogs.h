// The add-in's small modal dialogs: the about box (209) and the options (225).
#pragma once

#include <windows.h>

namespace keywright {

void ShowAboutBox(HWND owner);

// Lets the user choose how mail is sent; OK stores the choice in Delivery.
void ShowOptionsDialog(HWND owner);

} // namespace keywright
