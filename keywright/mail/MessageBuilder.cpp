// The mail message's header lines, body and attachment part.
#include "mail/MessageBuilder.h"

#include "mail/Base64.h"
#include "platform/FileSystem.h"
#include "strings/KeywrightStrings.h"

#include <random>

namespace keywright {

namespace {

constexpr std::size_t kMaxSevenBitLine = 998;
constexpr char kCrLf[] = "\r\n";
constexpr char kBoundaryPrefix[] = "--=_Part_Boundary.";

bool EndsWithCrLf(const std::string& text) {
    return text.size() >= 2 && text.compare(text.size() - 2, 2, kCrLf) == 0;
}

// "\"Name\" <address>" or "<address>" for each entry, joined by commas.
std::string RecipientHeader(const std::vector<MailRecipient>& list) {
    std::string header;
    for (const MailRecipient& r : list) {
        if (!header.empty())
            header += ',';
        if (!r.name.empty())
            header += "\"" + r.name + "\" ";
        header += "<" + r.address + ">";
    }
    return HeaderValue(header);
}

// What a warning says about an attachment that could not be read: our text, a blank
// line and the system's own.
std::string AttachmentFailure(const kestrix::OsError& error, const std::string& path) {
    // The file systems name the call that failed; only an open says the file is not there.
    const bool opening = error.function == "open" || error.function == "CreateFileW";
    std::string text = opening ? KeywrightStringWith(kStrCannotOpenFile, path)
                               : std::string(KeywrightString(kStrCannotReadFile));
    return text + "\n\n" + kestrix::OsErrorText(error.code);
}

bool Fail(CMailMessage& message) {
    message.senderAddress.clear();
    message.toList.clear();
    message.ccList.clear();
    message.text.clear();
    return false;
}

// The body as the data carries it: stuffed, ending in a line end.
std::string BodyLines(const std::string& body) {
    std::string text = DotStuff(body);
    if (!EndsWithCrLf(text))
        text += kCrLf;
    return text;
}

// The part boundary: the prefix and the message's key, or where the typed body or a
// plain attachment holds that text, the key of the next seeds until one holds none. A
// boundary inside a part would end it there for the recipient.
std::string PartBoundary(std::uint32_t seed, const std::string& body, const std::string& plain) {
    for (std::uint32_t next = seed;; ++next) {
        std::string boundary = kBoundaryPrefix + MessageKey(next);
        if (body.find(boundary) == std::string::npos && plain.find(boundary) == std::string::npos)
            return boundary;
    }
}

} // namespace

std::string DotStuff(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 64 + 2);
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            // CR LF, a bare CR and a bare LF each end one line.
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += kCrLf;
            lineStart = true;
            continue;
        }
        if (lineStart && c == '.')
            out += '.';
        out += c;
        lineStart = false;
    }
    return out;
}

bool IsSevenBitText(const std::string& bytes) {
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == 0 || c > 127)
            return false;
        if (c == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                return false;
            ++i;
            lineLength = 0;
        } else if (c == '\n') {
            return false;
        } else if (++lineLength > kMaxSevenBitLine) {
            return false;
        }
    }
    return true;
}

std::string HeaderValue(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            out += text[i];
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
            ++i;
        out += ' ';
    }
    return out;
}

std::string MessageKey(std::uint32_t seed) {
    std::minstd_rand generator(seed);
    std::string key;
    for (std::size_t i = 0; i < kMessageKeyLength; ++i)
        key += static_cast<char>('a' + generator() % 26);
    return key;
}

bool BuildMessage(CMailMessage& message, const MailBuildContext& context) {
    Fail(message);
    MailRecipient sender;
    switch (ParseAddress(message.from, &sender, context.warn)) {
    case AddressParse::Invalid:
        return Fail(message);
    case AddressParse::Empty:
        context.warn(KeywrightString(kStrFromInvalid));
        return Fail(message);
    case AddressParse::Valid:
        break;
    }
    message.senderAddress = sender.address;
    if (!ParseAddressField(message.to, &message.toList, context.warn) ||
        !ParseAddressField(message.cc, &message.ccList, context.warn))
        return Fail(message);
    if (message.toList.empty() && message.ccList.empty()) {
        context.warn(KeywrightString(kStrNoRecipient));
        return Fail(message);
    }

    std::string attachment;
    const bool attached = !message.attachmentPath.empty();
    if (attached) {
        if (kestrix::OsError error = context.files->ReadFile(message.attachmentPath, attachment)) {
            context.warn(AttachmentFailure(error, message.attachmentPath));
            return Fail(message);
        }
    }

    MailTimeZone zone;
    const bool zoneKnown = context.time->TimeZone(&zone);
    const std::uint32_t seed = context.time->SecondsNow();
    const std::string key = MessageKey(seed);
    std::string& text = message.text;
    text.reserve(1024 + message.body.size() + attachment.size() * 4 / 3);
    text += "Date: " + FormatMailDate(context.time->LocalNow(), zoneKnown ? &zone : nullptr) +
            kCrLf;
    text += "From: " + HeaderValue(message.from) + kCrLf;
    text += "Subject: " + HeaderValue(message.subject) + kCrLf;
    if (!message.toList.empty())
        text += "To: " + RecipientHeader(message.toList) + kCrLf;
    if (!message.ccList.empty())
        text += "cc: " + RecipientHeader(message.ccList) + kCrLf;
    text += "Message-ID: <" + key + "@" + kMessageIdDomain + ">" + kCrLf;

    if (!attached) {
        text += kCrLf + BodyLines(message.body) + "." + kCrLf;
        return true;
    }

    // The editor exports UTF-16 on current systems: such a file only arrives intact
    // in base64. Plain text keeps the readable form.
    const bool plain = IsSevenBitText(attachment);
    const std::string boundary = PartBoundary(seed, message.body,
                                              plain ? attachment : std::string());
    const std::string name = HeaderValue(message.attachmentName);
    text += "MIME-Version: 1.0\r\n";
    text += "Content-Type: multipart/mixed;boundary=\"" + boundary + "\"\r\n";
    text += kCrLf;
    text += "--" + boundary + kCrLf + kCrLf;
    text += BodyLines(message.body);
    text += "--" + boundary + kCrLf;
    text += "Content-Type: text/plain; name=\"" + name + "\"\r\n";
    text += plain ? "Content-Transfer-Encoding: 7bit\r\n" : "Content-Transfer-Encoding: base64\r\n";
    text += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n";
    text += kCrLf;
    text += plain ? DotStuff(attachment) : EncodeBase64Lines(attachment);
    text += kCrLf + std::string("--") + boundary + "--" + kCrLf;
    text += "." + std::string(kCrLf);
    return true;
}

} // namespace keywright
