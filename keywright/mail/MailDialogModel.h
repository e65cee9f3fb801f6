// The rules behind the mail dialog and its setup window: the From text, what Send and
// OK accept, the port field, and where the controls go when the dialog is resized.
#pragma once

#include "platform/Rect.h"

#include <cstdint>
#include <string>

namespace keywright {

// From as the dialog fills it: "Full Name <address>", or the address alone when
// there is no name.
std::string FromField(const std::string& fullName, const std::string& address);

// The server name as Send and the setup window use it, without surrounding blanks;
// empty when it is too short to be a name (fewer than 2 characters).
std::string UsableServerName(const std::string& typed);

// The setup window's port field read as an unsigned number: its leading digits, 0
// when it holds none or when they do not fit 32 bits.
std::uint32_t ParsePortField(const std::string& text);

// The stored port as Send connects to it; 0 for a number that names no port (0, or
// above 65535), which Send refuses rather than connect to the number cut to 16 bits.
std::uint16_t UsablePort(std::uint32_t stored);

// A control's rectangle in the dialog's client area.
using Box = kestrix::Rect;

enum MailDialogPart { kMailSend, kMailCancel, kMailSetup, kMailFrom, kMailTo, kMailCc,
                      kMailSubject, kMailAttachment, kMailBody, kMailPartCount };

// The controls that move or stretch, and the client size they were laid out for.
struct MailDialogLayout {
    int width = 0;
    int height = 0;
    Box parts[kMailPartCount];
};

// The layout for a client area of `width` by `height`: the three buttons keep their
// distance from the right edge, the fields and the attachment name stretch up to the
// buttons, the body fills the rest down to the bottom margin. `initial` is the
// layout of the dialog template, which is also the smallest size.
MailDialogLayout LayOutMailDialog(const MailDialogLayout& initial, int width, int height);

} // namespace keywright
