// The socket calls of one SMTP connection.
#include "mail/win32/WinSockSocket.h"

#include "mail/SmtpProtocol.h"

#include <climits>
#include <cstring>

namespace keywright {

namespace {

int Clamp(std::size_t size) {
    return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

} // namespace

WinSockSocket::WinSockSocket(const CWinSockLib& library, HWND window, UINT message)
    : f_(library.functions()), window_(window), message_(message) {}

WinSockSocket::~WinSockSocket() {
    Close();
}

int WinSockSocket::Open() {
    Close();
    socket_ = f_.socket(AF_INET, SOCK_STREAM, 0);
    return socket_ == INVALID_SOCKET ? LastError() : 0;
}

bool WinSockSocket::LookUp(const char* name, in_addr* address) const {
    const hostent* host = f_.gethostbyname(name);
    if (!host || host->h_addrtype != AF_INET || host->h_length != 4 || !host->h_addr_list ||
        !host->h_addr_list[0])
        return false;
    std::memcpy(address, host->h_addr_list[0], 4);
    return true;
}

int WinSockSocket::Resolve(const std::string& server, std::uint32_t* address) {
    const unsigned long dotted = f_.inet_addr(server.c_str());
    if (dotted != INADDR_NONE) {
        *address = static_cast<std::uint32_t>(dotted);
        return 0;
    }
    in_addr found = {};
    if (!LookUp(server.c_str(), &found)) {
        const int error = LastError();
        return error != 0 ? error : WSAHOST_NOT_FOUND;
    }
    *address = found.s_addr;
    return 0;
}

int WinSockSocket::WatchEvents() {
    if (f_.WSAAsyncSelect(socket_, window_, message_, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) ==
        SOCKET_ERROR)
        return LastError();
    return 0;
}

int WinSockSocket::Connect(std::uint32_t address, std::uint16_t port) {
    sockaddr_in server = {};
    server.sin_family = AF_INET;
    server.sin_port = f_.htons(port);
    server.sin_addr.s_addr = address;
    if (f_.connect(socket_, reinterpret_cast<const sockaddr*>(&server), sizeof server) ==
        SOCKET_ERROR)
        return LastError();
    return 0;
}

int WinSockSocket::Send(const char* data, std::size_t size, std::size_t* sent) {
    const int n = f_.send(socket_, data, Clamp(size), 0);
    if (n == SOCKET_ERROR)
        return LastError();
    *sent = static_cast<std::size_t>(n);
    return 0;
}

int WinSockSocket::Receive(char* data, std::size_t size, std::size_t* received) {
    const int n = f_.recv(socket_, data, Clamp(size), 0);
    if (n == SOCKET_ERROR)
        return LastError();
    *received = static_cast<std::size_t>(n);
    return 0;
}

void WinSockSocket::Close() {
    if (socket_ == INVALID_SOCKET)
        return;
    f_.closesocket(socket_);
    socket_ = INVALID_SOCKET;
}

std::string WinSockSocket::LocalAddress() {
    char name[256] = {};
    in_addr address = {};
    if (f_.gethostname(name, sizeof name - 1) != 0 || !LookUp(name, &address))
        return std::string();
    const char* text = f_.inet_ntoa(address);
    std::string dotted = text ? text : "";
    if (dotted.size() > kMaxLocalAddress)
        dotted.resize(kMaxLocalAddress);
    return dotted;
}

} // namespace keywright
