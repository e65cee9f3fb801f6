// OLE and the add-in's clipboard format, which dragging locations out of the editor
// and dropping them on the bookmark pane rely on.
#pragma once

#include <windows.h>

namespace keywright {

constexpr wchar_t kClipboardFormatName[] = L"Velmara-Keywright-txt-ClipFormat";

// Initialises OLE on the calling thread and registers the clipboard format into
// `clipboardFormat`. Returns whether OLE was initialised, and so must be shut down.
bool InitializeDataTransfer(UINT* clipboardFormat);

// Undoes a successful initialisation.
void ShutDownDataTransfer();

} // namespace keywright
