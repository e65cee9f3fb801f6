// SendByMapi: hands the exported file to the system's mail program through its simple
// mail interface, loaded by name.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace keywright {

constexpr char kMapiLibraryName[] = "MAPI32.DLL";

// Shows one of the call's messages with the given message-box flags.
using MapiMessage = std::function<void(const std::string& text, UINT flags)>;

// Asks the system's mail program to compose a message with the file attached as
// `attachmentName`, owned by `parent`. True only when the call reports success;
// every failure has been shown.
bool SendByMapi(HWND parent, const std::string& attachmentName, const std::string& path,
                const MapiMessage& show, const char* libraryName = kMapiLibraryName);

} // namespace keywright
