// A second process for the shared section's test: it loads keywright.dll from its own
// folder and removes the hook that the test process set, which it can only find in
// the shared section. Exit status: SetCorvidHook(0)'s result, or 100 when the DLL or
// its export is missing.
#include <windows.h>

int main() {
    HMODULE addin = LoadLibraryA("keywright.dll");
    if (!addin)
        return 100;
    auto unhook = reinterpret_cast<int(WINAPI*)(DWORD)>(
        reinterpret_cast<void*>(GetProcAddress(addin, "SetCorvidHook")));
    if (!unhook)
        return 100;
    return unhook(0);
}
