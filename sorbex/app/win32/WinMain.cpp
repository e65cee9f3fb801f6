// The entry point of Sorbex.exe.
#include <windows.h>

#include "app/win32/SorbexApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return sorbex::RunSorbex(instance, showCommand);
}
