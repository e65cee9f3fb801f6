// The settings backend over the system registry.
#include "host/win32/AddinSettings.h"

#include "host/win32/AddinMessageBox.h"
#include "platform/win32/Win32Registry.h"

namespace keywright {

const SettingsBackend& AddinSettings() {
    static kestrix::Win32Registry registry;
    static const SettingsBackend backend{
        &registry, [](const char* text) { ShowMessage(nullptr, text, Caption::None); },
        "Software\\Velmara\\Keywright\\"};
    return backend;
}

} // namespace keywright
