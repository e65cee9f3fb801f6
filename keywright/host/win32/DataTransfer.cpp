// OLE is initialised once per attach on the editor's thread. Its result is kept by the
// caller: only a successful initialisation may be balanced by an uninitialisation, or
// the editor's own use of OLE would lose its reference.
#include "host/win32/DataTransfer.h"

#include <ole2.h>

namespace keywright {

bool InitializeDataTransfer(UINT* clipboardFormat) {
    bool initialized = SUCCEEDED(OleInitialize(nullptr));
    *clipboardFormat = RegisterClipboardFormatW(kClipboardFormatName);
    return initialized;
}

void ShutDownDataTransfer() {
    OleUninitialize();
}

} // namespace keywright
