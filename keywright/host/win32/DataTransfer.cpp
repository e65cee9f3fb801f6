// OLE is initialised once per attach on the editor's thread. Its result is kept: only
// a successful initialisation may be balanced by an uninitialisation, or the editor's
// own use of OLE would lose its reference.
#include "host/win32/DataTransfer.h"

#include "host/win32/AddinContext.h"

#include <ole2.h>

namespace keywright {

void InitializeDataTransfer() {
    AddinContext& context = Addin();
    context.oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    context.clipboardFormat = RegisterClipboardFormatA(kClipboardFormatName);
}

void ShutDownDataTransfer() {
    AddinContext& context = Addin();
    if (context.oleInitialized)
        OleUninitialize();
    context.oleInitialized = false;
}

} // namespace keywright
