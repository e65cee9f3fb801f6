// Remembering the current key when the add-in detaches, and finding it again later.
#pragma once

#include "settings/SettingAccess.h"

#include <string>

namespace keywright {

// The most a remembered location may hold, with its NUL.
constexpr std::size_t kLastLocationSize = 8192;

// Stores the encoded path in the setting UrlMru; an empty path stores nothing.
// Returns 1 when stored, 0 otherwise.
int RememberLocation(const SettingsBackend& settings, const std::string& fullKeyPath);

// The remembered path, decoded; empty when there is none.
std::string RestoreLocation(const SettingsBackend& settings);

} // namespace keywright
