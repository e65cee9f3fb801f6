// The add-in's state inside the editor's process: the editor's windows, our own
// windows, the modeless window list and the navigation history.
#pragma once

#include "host/NavigationHistory.h"
#include "host/win32/HostProfile.h"
#include "platform/win32/ui/WindowSubclass.h"
#include "settings/SettingAccess.h"

#include <windows.h>

#include <string>

namespace keywright {

using kestrix::ui::CallPrevious;
using kestrix::ui::PreviousProcedure;
using kestrix::ui::WindowSubclass;

constexpr int kMaxModelessWindows = 100;

// Private messages between the add-in's windows.
constexpr UINT kMsgRelayout = WM_USER + 300;          // 1324
constexpr UINT kMsgBookmarkReload = WM_USER + 302;    // 1326
constexpr UINT kMsgBookmarkDelete = WM_USER + 303;    // 1327
constexpr UINT kMsgBookmarkRename = WM_USER + 304;    // 1328
constexpr UINT kMsgBookmarkHasFocus = WM_USER + 305;  // 1329
constexpr UINT kMsgBookmarkFocus = WM_USER + 306;     // 1330
constexpr UINT kMsgBookmarkNewFolder = WM_USER + 307; // 1331
constexpr UINT kMsgRepaintToolbar = WM_USER + 309;    // 1333

struct AddinContext {
    const HostProfile* profile = nullptr;
    HostWindows editor;
    HWND bookmarkPane = nullptr;
    HWND previewWindow = nullptr;
    HWND toolbar = nullptr;
    HWND hiddenWindow = nullptr;
    HINSTANCE ownInstance = nullptr;
    HINSTANCE editorInstance = nullptr;
    HACCEL editorAccelerators = nullptr; // owned by the editor's module
    UINT clipboardFormat = 0;            // "Velmara-Keywright-txt-ClipFormat"
    bool oleInitialized = false;
    HWND modeless[kMaxModelessWindows] = {};
    int modelessCount = 0;
    bool acceleratorsEnabled = true;
    int paneIndex = 0; // 0 tree view, 1 list view, 2 bookmark pane
    bool attached = false;
    std::string rootText;
    NavigationHistory history;
    WindowSubclass frameSubclass;
    WindowSubclass containerSubclass;
    WindowSubclass treeSubclass;
    WindowSubclass listSubclass;
};

// The one context of this process.
AddinContext& Addin();

// Registers a modeless window for dialog-key handling; a full list ignores it.
void AddModelessWindow(HWND window);
void RemoveModelessWindow(HWND window);

// The settings in the current user's registry, with messages in the add-in's box.
const SettingsBackend& AddinSettings();

// True when the bookmark pane exists and its tree has the focus.
bool BookmarkTreeHasFocus();

} // namespace keywright
