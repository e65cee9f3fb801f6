// The session's socket over the loaded socket library, with its events posted to a
// window.
#pragma once

#include "host/win32/AddinMessages.h"
#include "mail/SmtpSession.h"
#include "mail/win32/WinSockLib.h"

namespace keywright {

class WinSockSocket : public SmtpSocket {
public:
    WinSockSocket(const CWinSockLib& library, HWND window, UINT message = kMsgSocketEvent);
    ~WinSockSocket() override;
    WinSockSocket(const WinSockSocket&) = delete;
    WinSockSocket& operator=(const WinSockSocket&) = delete;

    int Open() override;
    int Resolve(const std::string& server, std::uint32_t* address) override;
    int WatchEvents() override;
    int Connect(std::uint32_t address, std::uint16_t port) override;
    int Send(const char* data, std::size_t size, std::size_t* sent) override;
    int Receive(char* data, std::size_t size, std::size_t* received) override;
    void Close() override;
    bool IsOpen() const override { return socket_ != INVALID_SOCKET; }
    std::string LocalAddress() override;

    // Whether an event message is for this socket.
    bool Owns(WPARAM wParam) const { return static_cast<SOCKET>(wParam) == socket_; }

private:
    int LastError() const { return f_.WSAGetLastError(); }
    // The first IPv4 address of a name, or false.
    bool LookUp(const char* name, in_addr* address) const;

    const WinSockFunctions& f_;
    HWND window_;
    UINT message_;
    SOCKET socket_ = INVALID_SOCKET;
};

} // namespace keywright
