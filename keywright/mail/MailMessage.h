// One message as the mail dialog hands it over for one press of Send: the fields as
// typed, the attachment, and what building it yields for the SMTP dialogue.
#pragma once

#include <string>
#include <vector>

namespace keywright {

// One recipient: the bare address that RCPT TO names, and the display name that the
// header shows in front of it (empty for none).
struct MailRecipient {
    std::string address;
    std::string name;
};

struct CMailMessage {
    // The fields as the user typed them.
    std::string from;
    std::string to;
    std::string cc;
    std::string subject;
    std::string body;
    std::string attachmentName; // as the recipient sees it
    std::string attachmentPath; // empty for a message without attachment

    // Filled by BuildMessage; emptied again when it fails.
    std::string senderAddress;
    std::vector<MailRecipient> toList;
    std::vector<MailRecipient> ccList;
    std::string text; // everything sent after DATA, the closing "." line included
};

} // namespace keywright
