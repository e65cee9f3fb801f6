// "Setup Internet Mail": where the sender's name and address and the mail server are
// set.
#pragma once

#include "mail/win32/MailWindowContext.h"

namespace keywright {

// Modal, owned by `owner`. True when the user pressed OK and the settings are stored.
bool RunMailSetupWindow(const MailWindowContext& context, HWND owner);

} // namespace keywright
