// The SMTP connection: socket events in, protocol lines and sends out.
#include "mail/SmtpSession.h"

#include "strings/KeywrightStrings.h"

#include <cstdio>

namespace keywright {

CSmtpSession::CSmtpSession(SmtpSocket& socket, SmtpSessionUi& ui) : socket_(socket), ui_(ui) {}

CSmtpSession::~CSmtpSession() {
    Close();
}

bool CSmtpSession::ConnectFailed(const std::string& text, int error) {
    lastError_ = error;
    Close();
    ui_.ShowSocketError(text, error);
    return false;
}

bool CSmtpSession::Connect(const std::string& server, std::uint16_t port,
                           CSmtpProtocol& protocol) {
    protocol_ = &protocol;
    server_ = server;
    received_.Clear();
    pending_.clear();
    offset_ = 0;
    bodyFlag_ = false;
    finished_ = false;

    if (int error = socket_.Open())
        return ConnectFailed(KeywrightString(kStrSocketOpenFailed), error);
    std::uint32_t address = 0;
    if (int error = socket_.Resolve(server, &address))
        return ConnectFailed(KeywrightString(kStrHostNotResolved), error);
    if (int error = socket_.WatchEvents())
        return ConnectFailed(KeywrightString(kStrAsyncSelectFailed), error);
    ui_.SetStatus(kStrConnecting, false);
    ui_.AddResponse(true, KeywrightStringWith(kStrConnectingTo, server));
    const int error = socket_.Connect(address, port);
    if (error != 0 && error != kSocketWouldBlock)
        return ConnectFailed(KeywrightStringWith(kStrCannotConnect, server), error);
    return true;
}

void CSmtpSession::OnSocketEvent(int event, int error) {
    if (finished_ || !protocol_)
        return;
    switch (event) {
    case kSocketEventConnect:
        // A connection that failed after it was started ends the session as one that
        // could not start.
        if (error != 0) {
            ConnectFailed(KeywrightStringWith(kStrCannotConnect, server_), error);
            finished_ = true;
            ui_.Finish(false);
        }
        break;
    case kSocketEventRead:
        Receive();
        break;
    case kSocketEventWrite:
        SendPending();
        break;
    case kSocketEventClose:
        OnClosed();
        break;
    default:
        break;
    }
}

void CSmtpSession::SendText(const std::string& text) {
    // Texts queue behind one another, so a reply that comes early can never cut a
    // command in two.
    if (offset_ >= pending_.size()) {
        pending_ = text;
        offset_ = 0;
    } else {
        pending_ += text;
    }
    ui_.RequestSend();
}

void CSmtpSession::SendPending() {
    if (offset_ >= pending_.size() || !socket_.IsOpen())
        return;
    std::size_t sent = 0;
    const int error = socket_.Send(pending_.data() + offset_, pending_.size() - offset_, &sent);
    if (error == kSocketWouldBlock)
        return; // the write event says when the socket takes more
    if (error != 0) {
        lastError_ = error;
        pending_.clear();
        offset_ = 0;
        ui_.SetStatus(kStrOnlineError, true);
        ui_.ShowSocketError(KeywrightString(kStrSendFailed), error);
        return;
    }
    offset_ += sent;
    if (bodyFlag_) {
        char row[64] = {};
        // The format comes from our own string table, never from outside.
        if (const char* format = KeywrightString(kStrSentBytes))
            std::snprintf(row, sizeof row, format, static_cast<int>(sent));
        ui_.AddResponse(true, row);
    }
    if (offset_ >= pending_.size()) {
        pending_.clear();
        offset_ = 0;
        return;
    }
    // A send that took part of the text re-arms no write event: ask again, and the
    // socket either takes more or says it would block.
    ui_.RequestSend();
}

void CSmtpSession::Receive() {
    if (!socket_.IsOpen())
        return;
    std::size_t received = 0;
    const int error = socket_.Receive(received_.FreeSpace(), received_.FreeSize(), &received);
    if (error == kSocketWouldBlock)
        return;
    if (error != 0) {
        lastError_ = error;
        ui_.ShowSocketError(KeywrightString(kStrReceiveFailed), error);
        return;
    }
    if (received == 0) {
        // After quit the server is expected to close.
        if (protocol_->state() == SmtpState::Quit)
            return OnClosed();
        lastError_ = 0;
        ui_.ShowSocketError(KeywrightString(kStrConnectionDropped), 0);
        return;
    }
    received_.Commit(received);
    std::string line;
    for (;;) {
        while (!finished_ && received_.NextLine(&line))
            protocol_->OnLine(line);
        if (finished_ || !received_.Overlong())
            break;
        protocol_->OnOverlongLine(received_.TakeOverlong());
    }
}

void CSmtpSession::OnClosed() {
    if (finished_)
        return;
    Close();
    if (protocol_->accepted()) {
        finished_ = true;
        ui_.Finish(true);
        return;
    }
    // The server went away before it took the message: say so rather than leave the
    // last status standing.
    if (protocol_->state() != SmtpState::Quit)
        ui_.AddResponse(true, KeywrightString(kStrClosedBeforeAccepted));
    ui_.SetStatus(kStrOnlineError, true);
}

void CSmtpSession::Close() {
    if (socket_.IsOpen())
        socket_.Close();
}

} // namespace keywright
