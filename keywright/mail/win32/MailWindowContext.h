// What the mail windows need of the add-in: its module, its settings, its message box.
#pragma once

#include "settings/SettingAccess.h"

#include <windows.h>

#include <functional>
#include <string>

namespace keywright {

struct MailWindowContext {
    HINSTANCE instance = nullptr; // the module with the windows' templates
    const SettingsBackend* settings = nullptr;
    // The add-in's message box, captioned with its title.
    std::function<int(HWND owner, const std::string& text, UINT flags)> showMessage;
    // Diagnostic lines for the add-in's debug output.
    std::function<void(const std::string& text)> trace;
};

} // namespace keywright
