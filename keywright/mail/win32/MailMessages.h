// The private window messages of the mail windows.
#pragma once

#include <windows.h>

namespace keywright {

// To the status window.
constexpr UINT kMsgStatusStart = WM_USER + 1;    // 1025: posted once the window is set up
constexpr UINT kMsgSocketEvent = WM_USER + 2;    // 1026: from the socket library
constexpr UINT kMsgSendPending = WM_USER + 458;  // 1482: send the pending text now
constexpr UINT kMsgAddResponse = WM_USER + 459;  // 1483: wParam 1 own line, 0 server's; lParam the text
constexpr UINT kMsgSetStatus = WM_USER + 460;    // 1484: wParam 1 opens the details; lParam the string
// To the mail dialog: open the setup window once the dialog is on the screen.
constexpr UINT kMsgOpenMailSetup = WM_USER + 461; // 1485

} // namespace keywright
