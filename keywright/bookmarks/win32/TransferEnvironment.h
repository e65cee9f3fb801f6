// What the data object, the drop source and the drop target need from the add-in:
// OLE's state, the private clipboard format, the disk, the temporary drop files and
// the ways to tell the user and the debugger.
#pragma once

#include "bookmarks/TemporaryFiles.h"
#include "host/LocationEncoding.h"
#include "platform/FileSystem.h"

#include <windows.h>

#include <functional>
#include <string>

namespace keywright {

struct TransferEnvironment {
    bool oleInitialized = false;
    UINT privateFormat = 0;
    kestrix::FileSystem* fs = nullptr;
    TemporaryFiles* temporaryFiles = nullptr;
    std::string temporaryFolder; // where files for file receivers are written
    ShowText show;               // the add-in's message box
    std::function<void(const char* line)> trace;
};

// Writes `line` to the debugger and to the environment's trace.
void Trace(const TransferEnvironment& environment, const char* line);

// The system's folder for temporary files.
std::string SystemTemporaryFolder();

} // namespace keywright
