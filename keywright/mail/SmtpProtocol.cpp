// The SMTP dialogue, one handler per state.
#include "mail/SmtpProtocol.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

namespace {

constexpr char kQuit[] = "quit\r\n";

const char* StateName(SmtpState state) {
    switch (state) {
    case SmtpState::Greeting: return "greeting";
    case SmtpState::Helo: return "HELO";
    case SmtpState::MailFrom: return "MAIL FROM";
    case SmtpState::RcptTo: return "RCPT TO";
    case SmtpState::Data: return "DATA";
    case SmtpState::Body: return "body";
    case SmtpState::Quit: return "quit";
    }
    return "?";
}

bool IsContinuation(const std::string& line) {
    return line.size() >= 4 && line[3] == '-';
}

} // namespace

int ReplyCode(const std::string& line) {
    int code = 0;
    for (std::size_t i = 0; i < line.size() && i < 9 && line[i] >= '0' && line[i] <= '9'; ++i)
        code = code * 10 + (line[i] - '0');
    return code;
}

std::string WithoutLineEnd(const std::string& line) {
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n'))
        --end;
    return line.substr(0, end);
}

CSmtpProtocol::CSmtpProtocol(const CMailMessage& message, SmtpChannel& channel)
    : message_(message), channel_(channel) {}

void CSmtpProtocol::Start() {
    state_ = SmtpState::Greeting;
    finalReplyCode_ = 0;
    phase_ = Phase::To;
    position_ = 0;
}

void CSmtpProtocol::SetState(SmtpState next) {
    channel_.Trace(std::string("SMTP: ") + StateName(state_) + " -> " + StateName(next));
    state_ = next;
}

void CSmtpProtocol::Send(const std::string& command) {
    channel_.SetStatus(kStrSending, false);
    channel_.AddResponse(true, WithoutLineEnd(command));
    channel_.SendText(command);
    channel_.SetStatus(kStrReceiving, false);
}

// Quit goes without status texts, so that the status that ended the dialogue (the
// message accepted, or the error) stays in view.
void CSmtpProtocol::SendQuit() {
    channel_.AddResponse(true, WithoutLineEnd(kQuit));
    channel_.SendText(kQuit);
    SetState(SmtpState::Quit);
}

void CSmtpProtocol::Fail() {
    channel_.SetStatus(kStrOnlineError, true);
    SendQuit();
}

const MailRecipient* CSmtpProtocol::CurrentRecipient() const {
    const auto& list = phase_ == Phase::To ? message_.toList : message_.ccList;
    return position_ < list.size() ? &list[position_] : nullptr;
}

bool CSmtpProtocol::NextRecipient() {
    ++position_;
    if (phase_ == Phase::To && position_ >= message_.toList.size()) {
        phase_ = Phase::Cc;
        position_ = 0;
    }
    return CurrentRecipient() != nullptr;
}

void CSmtpProtocol::OnLine(const std::string& line) {
    const int code = ReplyCode(line);
    if (state_ != SmtpState::Body && state_ != SmtpState::Quit) {
        channel_.AddResponse(false, WithoutLineEnd(line));
        // Only the last line of a multi-line reply moves the dialogue on.
        if (IsContinuation(line))
            return;
    }
    switch (state_) {
    case SmtpState::Greeting: OnGreeting(code); break;
    case SmtpState::Helo: OnHelo(code); break;
    case SmtpState::MailFrom: OnMailFrom(code); break;
    case SmtpState::RcptTo: OnRcptTo(code); break;
    case SmtpState::Data: OnData(code); break;
    case SmtpState::Body: OnBody(code, line); break;
    case SmtpState::Quit: OnQuit(line); break;
    }
}

void CSmtpProtocol::OnOverlongLine(const std::string& start) {
    channel_.AddResponse(false, WithoutLineEnd(start));
    if (state_ == SmtpState::Quit)
        return;
    channel_.AddResponse(true, KeywrightString(kStrReplyTooLong));
    channel_.SetBodyFlag(false);
    Fail();
}

void CSmtpProtocol::OnGreeting(int code) {
    if (code != 220) {
        SendQuit();
        return;
    }
    std::string local = channel_.LocalAddress();
    if (local.empty())
        local = kUnknownLocalAddress;
    if (local.size() > kMaxLocalAddress)
        local.resize(kMaxLocalAddress);
    Send("HELO " + local + "\r\n");
    SetState(SmtpState::Helo);
}

void CSmtpProtocol::OnHelo(int code) {
    if (code != 250)
        return Fail();
    Send("MAIL FROM: <" + message_.senderAddress + ">\r\n");
    SetState(SmtpState::MailFrom);
}

void CSmtpProtocol::OnMailFrom(int code) {
    if (code != 250)
        return Fail();
    phase_ = message_.toList.empty() ? Phase::Cc : Phase::To;
    position_ = 0;
    const MailRecipient* first = CurrentRecipient();
    // A message always has a recipient; without one there is nothing to send.
    if (!first)
        return Fail();
    Send("RCPT TO: <" + first->address + ">\r\n");
    SetState(SmtpState::RcptTo);
}

void CSmtpProtocol::OnRcptTo(int code) {
    if (code < 250 || code > 259)
        return Fail();
    if (NextRecipient()) {
        Send("RCPT TO: <" + CurrentRecipient()->address + ">\r\n");
        return;
    }
    Send("DATA\r\n");
    SetState(SmtpState::Data);
}

void CSmtpProtocol::OnData(int code) {
    if (code != 354)
        return Fail();
    channel_.AddResponse(true, KeywrightString(kStrSendingBody));
    channel_.SetBodyFlag(true);
    channel_.SetStatus(kStrSending, false);
    channel_.SendText(message_.text);
    channel_.SetStatus(kStrReceiving, false);
    SetState(SmtpState::Body);
}

void CSmtpProtocol::OnBody(int code, const std::string& line) {
    channel_.SetBodyFlag(false);
    finalReplyCode_ = code;
    channel_.AddResponse(false, WithoutLineEnd(line));
    channel_.SetStatus(code == 250 ? kStrMessageAccepted : kStrOnlineError, code != 250);
    SendQuit();
}

void CSmtpProtocol::OnQuit(const std::string& line) {
    channel_.AddResponse(false, WithoutLineEnd(line));
}

} // namespace keywright
