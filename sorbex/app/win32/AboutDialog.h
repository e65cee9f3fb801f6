// The about box.
#pragma once

#include <windows.h>

namespace sorbex {

void RunAboutDialog(HINSTANCE instance, HWND owner);

} // namespace sorbex
