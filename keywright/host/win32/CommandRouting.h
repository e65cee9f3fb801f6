// Where each command of the editor's main window goes.
#pragma once

#include <windows.h>

namespace keywright {

// Runs the add-in's part of a command. Returns whether the command is consumed; then
// `result` is what the main window answers.
bool RouteCommand(HWND frame, WORD command, LRESULT* result);

} // namespace keywright
