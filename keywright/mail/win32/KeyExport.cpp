// Temporary export file, the export run, and the system clock for mail.
#include "mail/win32/KeyExport.h"

#include "platform/OsError.h"

#include <shellapi.h>

#include <ctime>
#include <vector>

namespace keywright {

bool MakeTemporaryExportFile(std::string* path, std::string* error) {
    std::vector<char> directory(8000);
    const DWORD length = GetTempPathA(static_cast<DWORD>(directory.size()), directory.data());
    if (length == 0 || length >= directory.size()) {
        *error = kestrix::OsErrorText(static_cast<long>(GetLastError()));
        return false;
    }
    char name[MAX_PATH] = {};
    // Unique number 0: the system picks a free name and creates the empty file.
    if (GetTempFileNameA(directory.data(), kTemporaryPrefix, 0, name) == 0) {
        *error = kestrix::OsErrorText(static_cast<long>(GetLastError()));
        return false;
    }
    *path = name;
    return true;
}

bool RunEditorExport(HWND owner, const std::string& parameters, const char* program) {
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.hwnd = owner;
    run.lpFile = program;
    run.lpParameters = parameters.c_str();
    run.nShow = SW_SHOW;
    if (!ShellExecuteExA(&run) || !run.hProcess)
        return false;
    // The export may send messages to the editor's windows (a broadcast, say), so while
    // waiting the thread still answers messages sent to it; nothing posted, no input,
    // is handled before the export has ended.
    while (MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    CloseHandle(run.hProcess);
    return true;
}

bool FileHoldsData(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0);
}

MailLocalTime SystemMailTime::LocalNow() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return MailLocalTime{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                         now.wHour, now.wMinute, now.wSecond};
}

bool SystemMailTime::TimeZone(MailTimeZone* zone) {
    TIME_ZONE_INFORMATION info = {};
    const DWORD id = GetTimeZoneInformation(&info);
    if (id == TIME_ZONE_ID_INVALID)
        return false;
    zone->bias = info.Bias;
    zone->standardBias = info.StandardBias;
    zone->daylightBias = info.DaylightBias;
    zone->state = id == TIME_ZONE_ID_STANDARD   ? ZoneState::Standard
                  : id == TIME_ZONE_ID_DAYLIGHT ? ZoneState::Daylight
                                                : ZoneState::Unknown;
    return true;
}

std::uint32_t SystemMailTime::SecondsNow() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

} // namespace keywright
