// The window class of the preview window's splitter bar, registered at attach.
#pragma once

#include <windows.h>

namespace keywright {

constexpr char kSplitterClass[] = "vlsplit";

// Registers the class for the editor's module with that module's cursor 100. A
// failure is reported as an internal fault.
void RegisterSplitterClass(HINSTANCE editor);

} // namespace keywright
