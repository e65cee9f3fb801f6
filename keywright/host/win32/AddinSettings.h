// The add-in's settings in the current user's registry.
#pragma once

#include "settings/SettingAccess.h"

namespace keywright {

// The settings backend; its two messages have no owner and no caption.
const SettingsBackend& AddinSettings();

} // namespace keywright
