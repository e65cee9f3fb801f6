// Describing operating-system errors; the only place that turns native codes into text.
#include "platform/OsError.h"

#include <cerrno>
#include <cstring>

#include "platform/CompoundStorage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrix {
namespace {

// The compound-file codes that both implementations return, in words: not every system
// has a text for them, and strerror has none.
struct StorageErrorText {
    long code;
    const char* text;
};
constexpr StorageErrorText kStorageErrorTexts[] = {
    {StorageError::kInvalidFunction, "The operation could not be carried out"},
    {StorageError::kFileNotFound, "The file could not be found"},
    {StorageError::kPathNotFound, "The path could not be found"},
    {StorageError::kAccessDenied, "Access denied"},
    {StorageError::kInvalidHandle, "The file is not open"},
    {StorageError::kInsufficientMemory, "There is not enough memory for the operation"},
    {StorageError::kWriteFault, "A disk error occurred during a write operation"},
    {StorageError::kReadFault, "A disk error occurred during a read operation"},
    {StorageError::kShareViolation, "The file is in use by another program"},
    {StorageError::kLockViolation, "The file is locked by another program"},
    {StorageError::kFileAlreadyExists, "The file already exists"},
    {StorageError::kInvalidParameter, "Invalid parameter"},
    {StorageError::kMediumFull, "There is not enough space on the disk"},
    {StorageError::kInvalidHeader, "The file is not a valid compound file"},
    {StorageError::kInvalidName, "The name is not valid"},
    {StorageError::kInvalidFlag, "Invalid flag"},
    {StorageError::kReverted, "The file was closed or its changes were reverted"},
};

const char* StorageErrorTextOf(long code) {
    for (const StorageErrorText& entry : kStorageErrorTexts)
        if (entry.code == code)
            return entry.text;
    return nullptr;
}

} // namespace

std::string OsErrorText(long code) {
    if (const char* storageText = StorageErrorTextOf(code))
        return storageText;
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
