// Finding the running registry editor, or starting one.
#pragma once

#include <windows.h>

#include <string>

namespace kwlaunch {

struct Editor {
    HWND frame = nullptr;
    DWORD thread = 0; // the thread that owns the frame
};

// The first editor frame on the desktop; frame null when there is none.
Editor FindEditor();

// Starts "regedit.exe" and waits until its frame exists. On failure `error` says why.
Editor StartEditor(std::string* error);

} // namespace kwlaunch
