// The socket error window: what failed, the socket error number and what it means.
#pragma once

#include "mail/SmtpStatusModel.h"

#include <windows.h>

namespace keywright {

// Modal, owned by `owner`; returns once the user has pressed OK.
void ShowSocketErrorWindow(HINSTANCE instance, HWND owner, const SocketErrorReport& report);

} // namespace keywright
