// The DLL entry: it only remembers the DLL's own instance.
#include "host/win32/AddinContext.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH)
        keywright::Addin().ownInstance = instance;
    return TRUE;
}
