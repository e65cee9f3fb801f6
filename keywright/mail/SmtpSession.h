// CSmtpSession: one connection to the mail server, driven by socket events that the
// status window receives: connecting, sending the pending text, receiving lines for
// the protocol, closing.
#pragma once

#include "mail/SmtpLineBuffer.h"
#include "mail/SmtpProtocol.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace keywright {

// The socket library's error numbers that the session treats apart.
constexpr int kSocketWouldBlock = 10035;

// Socket events, as the low word of the event message's second parameter.
constexpr int kSocketEventRead = 1;
constexpr int kSocketEventWrite = 2;
constexpr int kSocketEventConnect = 16;
constexpr int kSocketEventClose = 32;

// The one stream socket of a session. Each call returns 0 or the socket error number.
class SmtpSocket {
public:
    virtual ~SmtpSocket() = default;
    virtual int Open() = 0;
    // A dotted address, else the first address the name resolves to (network order).
    virtual int Resolve(const std::string& server, std::uint32_t* address) = 0;
    // Asks for read, write, connect and close events.
    virtual int WatchEvents() = 0;
    // Starts connecting; kSocketWouldBlock means it is under way.
    virtual int Connect(std::uint32_t address, std::uint16_t port) = 0;
    virtual int Send(const char* data, std::size_t size, std::size_t* sent) = 0;
    virtual int Receive(char* data, std::size_t size, std::size_t* received) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // This machine's address as dotted text; empty when it cannot be found.
    virtual std::string LocalAddress() = 0;
};

// What the session needs of the status window.
class SmtpSessionUi {
public:
    virtual ~SmtpSessionUi() = default;
    // Asks for SendPending() once the current message has been handled.
    virtual void RequestSend() = 0;
    virtual void AddResponse(bool own, const std::string& text) = 0;
    virtual void SetStatus(unsigned stringId, bool openDetails) = 0;
    // The error window: our text, the socket error number and its description.
    virtual void ShowSocketError(const std::string& text, int error) = 0;
    // Ends the status window: accepted when the server took the message.
    virtual void Finish(bool accepted) = 0;
    virtual void Trace(const std::string& text) = 0;
};

class CSmtpSession : public SmtpChannel {
public:
    CSmtpSession(SmtpSocket& socket, SmtpSessionUi& ui);
    ~CSmtpSession() override;
    CSmtpSession(const CSmtpSession&) = delete;
    CSmtpSession& operator=(const CSmtpSession&) = delete;

    // Starts connecting to the server; the protocol then gets every line received.
    // False after the error window has said why.
    bool Connect(const std::string& server, std::uint16_t port, CSmtpProtocol& protocol);

    // One socket event, with the error the socket library reported along with it.
    void OnSocketEvent(int event, int error);
    // Sends as much of the pending text as the socket takes.
    void SendPending();
    void Receive();
    void Close();

    int lastError() const { return lastError_; }
    bool sending() const { return offset_ < pending_.size(); }

    // SmtpChannel
    void SendText(const std::string& text) override;
    void SetBodyFlag(bool on) override { bodyFlag_ = on; }
    void AddResponse(bool own, const std::string& text) override { ui_.AddResponse(own, text); }
    void SetStatus(unsigned stringId, bool openDetails) override {
        ui_.SetStatus(stringId, openDetails);
    }
    std::string LocalAddress() override { return socket_.LocalAddress(); }
    void Trace(const std::string& text) override { ui_.Trace(text); }

private:
    bool ConnectFailed(const std::string& text, int error);
    void OnClosed();

    SmtpSocket& socket_;
    SmtpSessionUi& ui_;
    CSmtpProtocol* protocol_ = nullptr;
    std::string server_;
    SmtpLineBuffer received_;
    std::string pending_;
    std::size_t offset_ = 0;
    int lastError_ = 0;
    bool bodyFlag_ = false;
    bool finished_ = false;
};

} // namespace keywright
