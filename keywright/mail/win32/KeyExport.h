// The system side of the mail command: the temporary file, the editor's own export of
// the key into it, and the local time for the message's date.
#pragma once

#include "mail/MailDate.h"

#include <windows.h>

#include <string>

namespace keywright {

constexpr char kExportProgram[] = "RegEdit.exe";
constexpr char kTemporaryPrefix[] = "CRV";

// Creates an empty, uniquely named file in the temporary directory.
bool MakeTemporaryExportFile(std::string* path, std::string* error);

// Runs the editor with `parameters`, owned by `owner`, and waits until it has ended.
// False when it cannot be started.
bool RunEditorExport(HWND owner, const std::string& parameters,
                     const char* program = kExportProgram);

// True when the file at `path` exists and holds at least one byte.
bool FileHoldsData(const std::string& path);

// The system's local time and time-zone information.
class SystemMailTime : public MailTimeSource {
public:
    MailLocalTime LocalNow() override;
    bool TimeZone(MailTimeZone* zone) override;
    std::uint32_t SecondsNow() override;
};

} // namespace keywright
