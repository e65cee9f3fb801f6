// The add-in's mail command (3021): the selected key exported and sent by mail.
#pragma once

#include <windows.h>

namespace keywright {

void RunMailSubkeyCommand(HWND frame);

} // namespace keywright
