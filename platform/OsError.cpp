// Describing operating-system errors; the only place that turns native codes into text.
#include "platform/OsError.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrix {

std::string OsErrorText(long code) {
#ifdef _WIN32
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
#else
    std::string text = std::strerror(static_cast<int>(code));
#endif
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty())
        text = "error";
    return text;
}

OsError MakeOsError(const std::string& function, const std::string& path, long code) {
    OsError e;
    e.function = function;
    e.path = path;
    e.code = code;
    return e;
}

OsError LastOsError(const char* function, const std::string& path) {
    OsError e;
    e.function = function;
    e.path = path;
#ifdef _WIN32
    e.code = static_cast<long>(GetLastError());
#else
    e.code = errno;
#endif
    return e;
}

std::string OsError::Describe() const {
    std::string s = function;
    if (!path.empty())
        s += "(" + path + ")";
    s += ": " + OsErrorText(code) + " (" + std::to_string(code) + ")";
    return s;
}

} // namespace kestrix
