// "Mail Registry File": the add-in's own mail dialog, which sends the exported key
// through its SMTP client.
#pragma once

#include "mail/win32/MailWindowContext.h"

#include <string>

namespace keywright {

// Modal, owned by `owner`. True when a message with the file attached as
// `attachmentName` was accepted by the server.
bool RunMailDialog(const MailWindowContext& context, HWND owner, const std::string& attachmentName,
                   const std::string& path);

} // namespace keywright
