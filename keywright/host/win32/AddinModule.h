// The add-in's own module inside the editor's process.
#pragma once

#include <windows.h>

namespace keywright {

// keywright.dll's instance, stored by the DLL entry: its resources and window classes.
HINSTANCE OwnInstance();

} // namespace keywright
