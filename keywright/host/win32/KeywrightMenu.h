// The "&Keywright" menu in the editor's menu bar, its status texts and the add-in's
// keyboard accelerators.
#pragma once

#include "resources/KeywrightResources.h"

#include <windows.h>

namespace keywright {

// Command identifiers of the add-in; the menu and accelerator resources use the same.
constexpr WORD kCmdCreateBookmark = KW_CMD_CREATE_BOOKMARK;
constexpr WORD kCmdCreateBookmarkFolder = KW_CMD_CREATE_BOOKMARK_FOLDER;
constexpr WORD kCmdSearch = KW_CMD_SEARCH;
constexpr WORD kCmdReplace = KW_CMD_REPLACE;
constexpr WORD kCmdPreview = KW_CMD_PREVIEW;
constexpr WORD kCmdMailSubkey = KW_CMD_MAIL_SUBKEY;
constexpr WORD kCmdHelp = KW_CMD_HELP;
constexpr WORD kCmdAbout = KW_CMD_ABOUT;
constexpr WORD kCmdGoForward = KW_CMD_GO_FORWARD;
constexpr WORD kCmdGoBack = KW_CMD_GO_BACK;
constexpr WORD kCmdOptions = KW_CMD_OPTIONS;
constexpr WORD kCmdContactSupport = KW_CMD_CONTACT_SUPPORT;

// The add-in's accelerator table (resource 101); the system frees it with the module.
HACCEL LoadKeywrightAccelerators(HINSTANCE own);

// Inserts popup 0 of menu resource 214 at `position` of the frame's menu bar; without
// a bar or without the resource, nothing.
void InsertKeywrightMenu(HWND frame, HINSTANCE own, int position);

// WM_MENUSELECT: shows the add-in's status text for its own items. Returns whether
// the message was for an add-in item (and so is consumed).
bool ShowMenuStatus(HWND statusBar, WPARAM statusPart, WORD itemId, WORD flags);

// WM_INITMENUPOPUP: enables the folder command in the add-in's popup. Returns whether
// the popup was the add-in's.
bool PrepareKeywrightPopup(HMENU popup, bool bookmarkTreeHasFocus);

} // namespace keywright
