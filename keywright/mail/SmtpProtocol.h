// CSmtpProtocol: the SMTP dialogue of one message as a state machine driven by the
// server's reply lines: greeting, HELO, MAIL FROM, one RCPT TO per recipient, DATA,
// the message text and quit.
#pragma once

#include "mail/MailMessage.h"

#include <cstddef>
#include <string>

namespace keywright {

// What the dialogue asks of its connection and of the window that shows it.
class SmtpChannel {
public:
    virtual ~SmtpChannel() = default;
    // Queues `text` for sending; it goes out as soon as the socket takes it.
    virtual void SendText(const std::string& text) = 0;
    // While set, every send is logged by its size instead of its text.
    virtual void SetBodyFlag(bool on) = 0;
    // A row of the responses list: our own line or the server's.
    virtual void AddResponse(bool own, const std::string& text) = 0;
    virtual void SetStatus(unsigned stringId, bool openDetails) = 0;
    // The local machine's address as dotted text, or empty when it cannot be found.
    virtual std::string LocalAddress() = 0;
    // Diagnostic output (the debug window), never shown in the status window.
    virtual void Trace(const std::string& text) = 0;
};

enum class SmtpState {
    Greeting = 0, // waiting for the server's greeting
    Helo = 2,     // waiting for the reply to HELO
    MailFrom = 4, // waiting for the reply to MAIL FROM
    RcptTo = 6,   // waiting for the reply to one RCPT TO
    Data = 8,     // waiting for the reply to DATA
    Body = 10,    // waiting for the reply to the end of the message data
    Quit = 12,    // waiting for the reply to quit, then for the server to close
};

// The HELO argument when the machine's own address cannot be found.
constexpr char kUnknownLocalAddress[] = "localhost";
constexpr std::size_t kMaxLocalAddress = 127;

class CSmtpProtocol {
public:
    CSmtpProtocol(const CMailMessage& message, SmtpChannel& channel);

    // Back to the greeting with no final reply.
    void Start();
    // One line from the server, with its CR LF.
    void OnLine(const std::string& line);
    // The server sent a line longer than the receive buffer holds: a broken reply.
    void OnOverlongLine(const std::string& start);

    SmtpState state() const { return state_; }
    // The code of the reply to the end of the data; 0 until it has come.
    int finalReplyCode() const { return finalReplyCode_; }
    bool accepted() const { return finalReplyCode_ == 250; }

private:
    enum class Phase { To, Cc };

    void SetState(SmtpState next);
    void Send(const std::string& command);
    void SendQuit();
    void Fail();
    // Moves to the next recipient, To list first; false when both lists are used up.
    bool NextRecipient();
    const MailRecipient* CurrentRecipient() const;

    void OnGreeting(int code);
    void OnHelo(int code);
    void OnMailFrom(int code);
    void OnRcptTo(int code);
    void OnData(int code);
    void OnBody(int code, const std::string& line);
    void OnQuit(const std::string& line);

    const CMailMessage& message_;
    SmtpChannel& channel_;
    SmtpState state_ = SmtpState::Greeting;
    int finalReplyCode_ = 0;
    Phase phase_ = Phase::To;
    std::size_t position_ = 0;
};

// The reply code at the start of a line: its leading decimal digits, 0 for none.
int ReplyCode(const std::string& line);

// `line` without its trailing CR LF (or a lone CR or LF).
std::string WithoutLineEnd(const std::string& line);

} // namespace keywright
