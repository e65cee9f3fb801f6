// The two words every process that loads the add-in sees alike: the hook and the
// thread that installed it.
#pragma once

#include <windows.h>

namespace keywright {

HHOOK SharedHookHandle();
DWORD SharedInstallerThread();

} // namespace keywright
