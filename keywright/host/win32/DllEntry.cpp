// The DLL entry: it only remembers the DLL's own instance.
#include "host/win32/AddinModule.h"

namespace {

HINSTANCE g_ownInstance = nullptr;

} // namespace

namespace keywright {

HINSTANCE OwnInstance() {
    return g_ownInstance;
}

} // namespace keywright

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH)
        g_ownInstance = instance;
    return TRUE;
}
