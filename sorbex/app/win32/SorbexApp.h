// The windowed program as a whole: what it builds at start, its main window and its
// message loop.
#pragma once

#include <windows.h>

namespace sorbex {

// Runs Sorbex.exe until its main window is closed; returns the exit code.
int RunSorbex(HINSTANCE instance, int showCommand);

} // namespace sorbex
