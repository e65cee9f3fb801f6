// The system mail fallback: one call of MAPISendDocuments.
#include "mail/win32/SendByMapi.h"

#include "mail/MailCommand.h"
#include "strings/KeywrightStrings.h"

#include <vector>

namespace keywright {

namespace {

using SendDocuments = ULONG(WINAPI*)(ULONG_PTR parent, LPSTR separators, LPSTR paths,
                                      LPSTR names, ULONG reserved);

// The call takes writable texts; it gets copies.
std::vector<char> Writable(const std::string& text) {
    return std::vector<char>(text.c_str(), text.c_str() + text.size() + 1);
}

} // namespace

bool SendByMapi(HWND parent, const std::string& attachmentName, const std::string& path,
                const MapiMessage& show, const char* libraryName) {
    HMODULE library = LoadLibraryA(libraryName);
    if (!library) {
        show(KeywrightString(kStrMapiNotLoaded), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const auto send = reinterpret_cast<SendDocuments>(
        reinterpret_cast<void*>(GetProcAddress(library, "MAPISendDocuments")));
    if (!send) {
        show(KeywrightString(kStrMapiFunctionMissing), MB_OK | MB_ICONEXCLAMATION);
        FreeLibrary(library);
        return false;
    }
    std::vector<char> separator = Writable(";");
    std::vector<char> paths = Writable(path);
    std::vector<char> names = Writable(attachmentName);
    const ULONG result = send(reinterpret_cast<ULONG_PTR>(parent), separator.data(), paths.data(),
                              names.data(), 0);
    if (result != 0)
        show(MapiResultMessage(result), MB_OK);
    FreeLibrary(library);
    return result == 0;
}

} // namespace keywright
