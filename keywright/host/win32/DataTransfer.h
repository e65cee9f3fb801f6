// OLE and the add-in's clipboard format, which dragging locations out of the editor
// and dropping them on the bookmark pane rely on.
#pragma once

#include <windows.h>

namespace keywright {

constexpr char kClipboardFormatName[] = "Velmara-Keywright-txt-ClipFormat";

// Initialises OLE on the calling thread and registers the clipboard format.
void InitializeDataTransfer();

// Undoes the OLE initialisation if it succeeded.
void ShutDownDataTransfer();

} // namespace keywright
