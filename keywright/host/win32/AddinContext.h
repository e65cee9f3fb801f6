// The add-in's record of the editor it is attached to: the editor's windows, module and
// tree root, and the navigation history. The add-in's own windows keep their own state.
#pragma once

#include "host/NavigationHistory.h"
#include "host/win32/HostProfile.h"

#include <windows.h>

#include <string>

namespace keywright {

struct AddinContext {
    const HostProfile* profile = nullptr; // null while not attached
    HostWindows editor;
    HINSTANCE editorInstance = nullptr;
    std::string rootText; // the text of the editor's root item: the local computer
    NavigationHistory history;

    bool attached() const { return profile != nullptr; }
};

// The one context of this process; touched on the editor's thread only.
AddinContext& Addin();

} // namespace keywright
