// Reading and writing settings by identifier, creating missing ones with defaults.
#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <functional>
#include <string>

namespace keywright {

// Where settings live and where the store's two messages go. The messages have no
// owner and no caption; the host connects them to its message box.
struct SettingsBackend {
    kestrix::Registry* registry = nullptr;
    std::function<void(const char* text)> showMessage;
    // Below HKEY_CURRENT_USER, with a trailing backslash.
    std::string rootPath = "Software\\Velmara\\Keywright\\";
};

// Fills `buffer` with the setting: 4 bytes for a DWORD setting, a NUL-terminated text
// otherwise. A missing value, or one too long for the buffer, is first stored with
// its default. Returns 1 on success; on 0 the buffer is left as the caller filled it.
int ReadSetting(const SettingsBackend& backend, std::uint32_t id, void* buffer, std::uint32_t size);

// Stores `size` bytes under the setting's type: a text's length plus 1, or 4 for a
// DWORD. Returns 1 on success, 0 on failure.
int WriteSetting(const SettingsBackend& backend, std::uint32_t id, const void* data,
                 std::uint32_t size);

} // namespace keywright
