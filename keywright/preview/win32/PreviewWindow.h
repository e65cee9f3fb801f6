// The preview window of registry files: opened by the add-in's command, which asks for
// a file, and by the launcher, which hands over a path.
#pragma once

#include "settings/SettingAccess.h"

#include <windows.h>

#include <string>

namespace kestrix::ui {
class ModelessWindowList;
}

namespace keywright {

constexpr int kPreviewImageCount = 5;

// What the preview takes from the add-in's host.
struct PreviewHost {
    HINSTANCE ownInstance = nullptr;    // the add-in: the dialog template and its icon
    HINSTANCE editorInstance = nullptr; // the editor: its icons and the splitter's class
    HWND editorFrame = nullptr;         // owns the open-file dialog
    std::string rootText;               // the editor's tree root, the tree's first item
    // The editor's icons for the image list: the computer, a closed key, an open key,
    // a string value, any other value.
    const int* icons = nullptr;
    kestrix::ui::ModelessWindowList* modeless = nullptr;
    const SettingsBackend* settings = nullptr;
    HWND* previewWindow = nullptr; // the one preview window, or null
};

// Asks for a file with the open-file dialog and previews it.
void RunPreviewCommand(const PreviewHost& host);

// Shows `path` (in the program's code page) in the preview window, creating the window
// or reusing the one that is open.
void OpenPreview(const PreviewHost& host, const std::string& path);

} // namespace keywright
