// The "Email Status" window: sends one message to one server and shows the dialogue.
#pragma once

#include "mail/MailMessage.h"
#include "mail/win32/MailWindowContext.h"
#include "mail/win32/WinSockLib.h"

#include <cstdint>
#include <string>

namespace keywright {

// Modal, owned by `owner`. True only when the server accepted the message; false when
// the user cancelled or connecting failed.
bool RunSmtpStatusWindow(const MailWindowContext& context, HWND owner,
                         const CWinSockLib& library, const CMailMessage& message,
                         const std::string& server, std::uint16_t port);

} // namespace keywright
