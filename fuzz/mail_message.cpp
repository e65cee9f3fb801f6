// Fuzz target: the mail message builder on arbitrary typed fields and attachments.
// The input is From, To, Cc, Subject and Body, each ended by a NUL byte, then the
// attachment's bytes (no attachment when the fifth NUL is missing). Whatever was typed,
// a message that builds must keep every line end a CR LF, end the data only at its
// very end, write no header line of the user's choosing, name bare addresses only, and
// carry body and attachment intact.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "mail/Base64.h"
#include "mail/MessageBuilder.h"
#include "platform/FileSystem.h"

namespace {

using namespace keywright;

constexpr char kAttachmentPath[] = "export.reg";

// A fixed date; the seed of the message's letters comes from the input, so that no
// input can know the boundary in advance and type it into the body.
class FixedTime : public MailTimeSource {
public:
    std::uint32_t seed = 0;
    MailLocalTime LocalNow() override { return {2004, 3, 0, 7, 9, 5, 1}; }
    bool TimeZone(MailTimeZone* zone) override {
        *zone = MailTimeZone{-60, 0, -60, ZoneState::Standard};
        return true;
    }
    std::uint32_t SecondsNow() override { return seed; }
};

// Holds the one attachment file; everything else the builder never asks for.
class OneFile : public kestrix::FileSystem {
public:
    std::string bytes;

    kestrix::OsError ReadFile(const std::string& path, std::string& out) override {
        if (path != kAttachmentPath)
            return Missing();
        out = bytes;
        return {};
    }
    kestrix::OsError ListDirectory(const std::string&, kestrix::EntryDetail,
                                   const std::function<bool(const kestrix::DirEntry&)>&) override {
        return Missing();
    }
    kestrix::OsError FullPath(const std::string&, std::string&) override { return Missing(); }
    std::string RootOf(const std::string&) override { return "/"; }
    kestrix::DriveType DriveTypeOf(const std::string&) override {
        return kestrix::DriveType::Unknown;
    }
    kestrix::OsError CheckDirectory(const std::string&) override { return Missing(); }
    kestrix::OsError ReplaceFileContent(const std::string&, const std::string&) override {
        return Missing();
    }
    kestrix::OsError GetFileStatus(const std::string&, kestrix::FileStatus&) override {
        return Missing();
    }
    kestrix::OsError GetFileIdentity(const std::string&, kestrix::FileIdentity&) override {
        return Missing();
    }
    kestrix::OsError FreeSpace(const std::string&, std::uint64_t&) override { return Missing(); }
    kestrix::OsError RemoveFile(const std::string&) override { return Missing(); }
    kestrix::OsError WriteWholeFile(const std::string&, const std::string&, bool&) override {
        return Missing();
    }
    kestrix::OsError MakeDirectory(const std::string&) override { return Missing(); }
    kestrix::OsError RemoveEmptyDirectory(const std::string&) override { return Missing(); }
    kestrix::OsError RenameFile(const std::string&, const std::string&) override {
        return Missing();
    }
    kestrix::OsError OpenExclusively(const std::string&) override { return Missing(); }
    std::string ProgramDirectory() override { return "/"; }
    std::vector<std::string> CacheDirectories() override { return {}; }
    int CompareNames(const std::string& a, const std::string& b) override { return a.compare(b); }

private:
    static kestrix::OsError Missing() {
        kestrix::OsError error;
        error.code = kestrix::NativeCodeFor(kestrix::FileFailure::NotFound);
        error.function = "open";
        return error;
    }
};

// Aborts when a property does not hold, naming the line of the check that failed.
void Require(bool condition, int line = __builtin_LINE()) {
    if (condition)
        return;
    std::fprintf(stderr, "mail_message: the check at line %d failed\n", line);
    std::abort();
}

bool StartsWith(const std::string& text, std::size_t at, const char* prefix) {
    return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The text of a dot-stuffed part with the doubled dots taken out again.
std::string Unstuff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(lineStart && text[i] == '.'))
            out += text[i];
        lineStart = i > 0 && text[i - 1] == '\r' && text[i] == '\n';
    }
    return out;
}

// The typed body as the recipient gets it: every CR LF, bare CR and bare LF a CR LF,
// and a CR LF at the end.
std::string LinesAsSent(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    if (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)
        out += "\r\n";
    return out;
}

void CheckAddress(const std::string& address) {
    Require(address.find('@') != std::string::npos);
    for (char c : address)
        Require(!IsMailBlank(c));
}

void CheckBuilt(const CMailMessage& message, const std::string& typedBody, bool attached,
                const std::string& attachment) {
    const std::string& text = message.text;
    // Every line end is CR LF, and the data ends at its end only.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            Require(i + 1 < text.size() && text[i + 1] == '\n');
        if (text[i] == '\n')
            Require(i > 0 && text[i - 1] == '\r');
    }
    Require(text.size() >= 5 && text.find("\r\n.\r\n") == text.size() - 5);

    // Only the builder's own header lines.
    static const char* const kHeaders[] = {"Date: ",        "From: ",          "Subject: ",
                                           "To: ",          "cc: ",            "Message-ID: <",
                                           "MIME-Version: ", "Content-Type: "};
    const std::size_t headersEnd = text.find("\r\n\r\n");
    Require(headersEnd != std::string::npos);
    for (std::size_t line = 0; line <= headersEnd; line = text.find("\r\n", line) + 2) {
        bool known = false;
        for (const char* header : kHeaders)
            known = known || StartsWith(text, line, header);
        Require(known);
    }

    CheckAddress(message.senderAddress);
    Require(!message.toList.empty() || !message.ccList.empty());
    for (const auto* list : {&message.toList, &message.ccList})
        for (const MailRecipient& r : *list)
            CheckAddress(r.address);

    const std::string headers = text.substr(0, headersEnd + 2);
    Require(attached == (headers.find("MIME-Version: 1.0\r\n") != std::string::npos));
    const std::string body = text.substr(headersEnd + 4);
    if (!attached) {
        // The data's last line, ".", was checked above.
        Require(Unstuff(body.substr(0, body.size() - 3)) == LinesAsSent(typedBody));
        return;
    }

    // The parts in order: the body, then the attachment up to the closing delimiter.
    const char kBoundaryHeader[] = "\r\nContent-Type: multipart/mixed;boundary=\"";
    const std::size_t named = headers.find(kBoundaryHeader);
    Require(named != std::string::npos);
    const std::size_t boundaryAt = named + sizeof kBoundaryHeader - 1;
    const std::string delimiter =
        "--" + headers.substr(boundaryAt, headers.find('"', boundaryAt) - boundaryAt);
    Require(StartsWith(body, 0, (delimiter + "\r\n\r\n").c_str()));
    const std::size_t bodyStart = delimiter.size() + 4;
    const std::size_t second = body.find("\r\n" + delimiter + "\r\n", bodyStart - 2);
    Require(second != std::string::npos);
    Require(Unstuff(body.substr(bodyStart, second + 2 - bodyStart)) == LinesAsSent(typedBody));
    const std::size_t partHeaders = second + 2 + delimiter.size() + 2;
    const std::size_t partStart = body.find("\r\n\r\n", partHeaders);
    Require(partStart != std::string::npos);
    const std::string closing = "\r\n" + delimiter + "--\r\n.\r\n";
    Require(body.size() >= partStart + 4 + closing.size() &&
            body.compare(body.size() - closing.size(), closing.size(), closing) == 0);
    const std::string encoded =
        body.substr(partStart + 4, body.size() - closing.size() - (partStart + 4));
    const bool base64 = body.substr(partHeaders, partStart - partHeaders)
                            .find("Content-Transfer-Encoding: base64\r\n") != std::string::npos;
    // The base64 coder itself is checked against known vectors and a decoder in its
    // own tests; here the part must be exactly the attachment's encoding.
    Require(base64 ? encoded == EncodeBase64Lines(attachment) : Unstuff(encoded) == attachment);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string fields[5];
    std::size_t at = 0;
    int count = 0;
    for (; count < 5; ++count) {
        const std::size_t nul = input.find('\0', at);
        if (nul == std::string::npos)
            break;
        fields[count] = input.substr(at, nul - at);
        at = nul + 1;
    }
    if (count < 5 && at < input.size())
        fields[count] = input.substr(at);
    const bool attached = count == 5;

    CMailMessage message;
    message.from = fields[0];
    message.to = fields[1];
    message.cc = fields[2];
    message.subject = fields[3];
    message.body = fields[4];
    OneFile files;
    if (attached) {
        files.bytes = input.substr(at);
        message.attachmentName = "Registry.re4";
        message.attachmentPath = kAttachmentPath;
    }
    FixedTime time;
    for (unsigned char c : input)
        time.seed = time.seed * 16777619u ^ c;
    int warnings = 0;
    MailBuildContext context;
    context.warn = [&](const std::string&) { ++warnings; };
    context.time = &time;
    context.files = &files;
    if (BuildMessage(message, context)) {
        Require(warnings == 0);
        CheckBuilt(message, fields[4], attached, files.bytes);
    } else {
        // One message says why, and nothing half-built is left to send.
        Require(warnings == 1);
        Require(message.text.empty() && message.toList.empty() && message.ccList.empty() &&
                message.senderAddress.empty());
    }
    return 0;
}
