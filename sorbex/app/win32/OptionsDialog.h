// The options dialog: the keys of section "Options" and the file viewer's font.
#pragma once

#include <windows.h>

#include "app/AppSettings.h"

namespace sorbex {

// Shows the options read from the profile; OK writes them back. True for OK.
bool RunOptionsDialog(HINSTANCE instance, HWND owner, CAppSettings& settings);

} // namespace sorbex
