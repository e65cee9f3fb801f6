// The one record every platform call fills when the operating system refuses:
// which call, on which path or key, and the system's own error code.
#pragma once

#include <string>

namespace kestrix {

// Native error codes are kept as the system gives them: errno values on POSIX,
// GetLastError / registry codes on Windows. 0 means success.
struct OsError {
    std::string function; // the system call or API function that failed
    std::string path;     // the file, directory or key it was called on (may be empty)
    long code = 0;        // the native error code

    explicit operator bool() const { return code != 0; }

    // "function(path): description (code)", for logs and message boxes.
    std::string Describe() const;
};

// The record for a failure the program itself detects, with the native code the
// system would give for it.
OsError MakeOsError(const std::string& function, const std::string& path, long code);

// Builds an OsError from the current errno (POSIX) or GetLastError (Windows).
OsError LastOsError(const char* function, const std::string& path);

// The system's text for a native error code, without a trailing line break.
std::string OsErrorText(long code);

} // namespace kestrix
