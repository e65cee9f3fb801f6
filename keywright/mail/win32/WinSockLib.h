// CWinSockLib: the socket library, loaded by name when the mail dialog opens, so that
// the add-in loads even where no socket library is installed.
#pragma once

#include <winsock2.h>
#include <windows.h>

namespace keywright {

// The socket library's functions, looked up by name.
struct WinSockFunctions {
    int(WSAAPI* closesocket)(SOCKET) = nullptr;
    int(WSAAPI* connect)(SOCKET, const sockaddr*, int) = nullptr;
    int(WSAAPI* recv)(SOCKET, char*, int, int) = nullptr;
    int(WSAAPI* send)(SOCKET, const char*, int, int) = nullptr;
    SOCKET(WSAAPI* socket)(int, int, int) = nullptr;
    hostent*(WSAAPI* gethostbyname)(const char*) = nullptr;
    int(WSAAPI* WSAStartup)(WORD, WSADATA*) = nullptr;
    int(WSAAPI* WSACleanup)() = nullptr;
    int(WSAAPI* WSAAsyncSelect)(SOCKET, HWND, u_int, long) = nullptr;
    unsigned long(WSAAPI* inet_addr)(const char*) = nullptr;
    u_short(WSAAPI* htons)(u_short) = nullptr;
    int(WSAAPI* WSAGetLastError)() = nullptr;
    char*(WSAAPI* inet_ntoa)(in_addr) = nullptr;
    int(WSAAPI* gethostname)(char*, int) = nullptr;
    int(WSAAPI* select)(int, fd_set*, fd_set*, fd_set*, const timeval*) = nullptr;
};

constexpr char kWinSockLibraryName[] = "WSOCK32.DLL";
constexpr WORD kWinSockVersion = MAKEWORD(1, 1);

class CWinSockLib {
public:
    enum class Outcome { Loaded, LoadFailed, LookupFailed };

    // Loads the library, looks up its functions and starts it for version 1.1.
    explicit CWinSockLib(const char* libraryName = kWinSockLibraryName);
    ~CWinSockLib();
    CWinSockLib(const CWinSockLib&) = delete;
    CWinSockLib& operator=(const CWinSockLib&) = delete;

    Outcome outcome() const { return outcome_; }
    // The start-up call's result: 0 when the library is ready.
    int startupResult() const { return startupResult_; }
    bool ready() const { return outcome_ == Outcome::Loaded && startupResult_ == 0; }
    const WinSockFunctions& functions() const { return functions_; }

private:
    HMODULE library_ = nullptr;
    Outcome outcome_ = Outcome::LoadFailed;
    int startupResult_ = -1;
    WinSockFunctions functions_;
};

// The string that says why the library cannot be used, or 0 when it can.
unsigned WinSockFailureString(CWinSockLib::Outcome outcome);

} // namespace keywright
