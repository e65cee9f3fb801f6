// Tracing and the temporary folder for data transfer.
#include "bookmarks/win32/TransferEnvironment.h"

namespace keywright {

void Trace(const TransferEnvironment& environment, const char* line) {
    OutputDebugStringA(line);
    if (environment.trace)
        environment.trace(line);
}

std::string SystemTemporaryFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof path, path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

} // namespace keywright
