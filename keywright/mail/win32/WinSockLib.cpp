// Loading and starting the socket library by name.
#include "mail/win32/WinSockLib.h"

#include "strings/KeywrightStrings.h"

#include <iterator>

namespace keywright {

namespace {

// Stores `proc` in a function pointer of any type; false when it is missing.
template <typename Function> bool Take(FARPROC proc, Function* target) {
    *target = reinterpret_cast<Function>(reinterpret_cast<void*>(proc));
    return proc != nullptr;
}

} // namespace

CWinSockLib::CWinSockLib(const char* libraryName) {
    library_ = LoadLibraryA(libraryName);
    if (!library_) {
        outcome_ = Outcome::LoadFailed;
        return;
    }
    WinSockFunctions& f = functions_;
    auto find = [this](const char* name) { return GetProcAddress(library_, name); };
    const bool found[] = {
        Take(find("closesocket"), &f.closesocket),
        Take(find("connect"), &f.connect),
        Take(find("recv"), &f.recv),
        Take(find("send"), &f.send),
        Take(find("socket"), &f.socket),
        Take(find("gethostbyname"), &f.gethostbyname),
        Take(find("WSAStartup"), &f.WSAStartup),
        Take(find("WSACleanup"), &f.WSACleanup),
        Take(find("WSAAsyncSelect"), &f.WSAAsyncSelect),
        Take(find("inet_addr"), &f.inet_addr),
        Take(find("htons"), &f.htons),
        Take(find("WSAGetLastError"), &f.WSAGetLastError),
        Take(find("inet_ntoa"), &f.inet_ntoa),
        Take(find("gethostname"), &f.gethostname),
        Take(find("select"), &f.select),
    };
    for (bool ok : found) {
        if (!ok) {
            outcome_ = Outcome::LookupFailed;
            return;
        }
    }
    outcome_ = Outcome::Loaded;
    WSADATA data = {};
    startupResult_ = f.WSAStartup(kWinSockVersion, &data);
}

CWinSockLib::~CWinSockLib() {
    if (outcome_ == Outcome::Loaded && startupResult_ == 0)
        functions_.WSACleanup();
    if (library_)
        FreeLibrary(library_);
}

unsigned WinSockFailureString(CWinSockLib::Outcome outcome) {
    switch (outcome) {
    case CWinSockLib::Outcome::LoadFailed: return kStrWinSockNotLoaded;
    case CWinSockLib::Outcome::LookupFailed: return kStrWinSockLookupFailed;
    case CWinSockLib::Outcome::Loaded: return 0;
    }
    return 0;
}

} // namespace keywright
