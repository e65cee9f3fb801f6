// The preview window's splitter bar: its window class "vlsplit", registered at attach
// for the editor's module, and the bar's behaviour.
#pragma once

#include <windows.h>

namespace keywright {

constexpr wchar_t kSplitterClass[] = L"vlsplit";

// Registers the class for the editor's module with that module's cursor 100, and the
// exported SplitterWndProc as its procedure. A failure is reported as an internal fault.
void RegisterSplitterClass(HINSTANCE editor);

} // namespace keywright
