// The add-in's settings in the current user's registry.
#pragma once

#include "settings/SettingAccess.h"

#include <windows.h>

#include <cstdint>

namespace keywright {

// The settings backend; its two messages have no owner and no caption.
const SettingsBackend& AddinSettings();

// Puts a window where its position setting says, never smaller than `minimum`; without
// a saved place that shows on the screen, centred over the editor's main window (or the
// work area).
void PlaceSavedWindow(HWND window, std::uint32_t positionSetting, POINT minimum);

// Keeps the window's rectangle in its position setting, unless it is minimised.
void SaveWindowPlace(HWND window, std::uint32_t positionSetting);

} // namespace keywright
