// BuildMessage: checks the addresses of a CMailMessage and writes the text that the
// SMTP client sends after DATA, with the exported key as a MIME attachment.
#pragma once

#include "mail/MailAddress.h"
#include "mail/MailDate.h"
#include "mail/MailMessage.h"

#include <string>

namespace kestrix {
class FileSystem;
}

namespace keywright {

// The domain after the "@" of every Message-ID the add-in makes.
constexpr char kMessageIdDomain[] = "keywright.velmara.invalid";
constexpr std::size_t kMessageKeyLength = 26;

// What building a message reads and where it complains.
struct MailBuildContext {
    MailWarning warn;               // address and attachment messages
    MailTimeSource* time = nullptr; // date, zone and the seed of the key
    kestrix::FileSystem* files = nullptr;
};

// Fills the sender address, the two recipient lists and the message text. On failure
// a warning has said why, and the lists and the text are empty again.
bool BuildMessage(CMailMessage& message, const MailBuildContext& context);

// Writes `text` line by line, doubling a "." that begins a line, so that no line of
// it can end the data. Lines end at CR LF; a bare CR or LF is made a CR LF first,
// since some servers end the data at a bare line feed too.
std::string DotStuff(const std::string& text);

// True for text that may go as "7bit": bytes 1 to 127, every CR in a CR LF pair, no
// line longer than the 998 characters mail allows.
bool IsSevenBitText(const std::string& bytes);

// A header field's value with each run of CR and LF made one blank, so that nothing
// typed into a field can start a header line of its own.
std::string HeaderValue(const std::string& text);

// The 26 lower-case letters that tie a message's Message-ID and its boundary
// together, drawn from a generator seeded with `seed`.
std::string MessageKey(std::uint32_t seed);

} // namespace keywright
