// The "&Keywright" menu in the editor's menu bar, its status texts and the add-in's
// keyboard accelerators.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace keywright {

// Command identifiers of the add-in.
constexpr WORD kCmdCreateBookmark = 3016;
constexpr WORD kCmdCreateBookmarkFolder = 3017;
constexpr WORD kCmdSearch = 3018;
constexpr WORD kCmdReplace = 3019;
constexpr WORD kCmdPreview = 3020;
constexpr WORD kCmdMailSubkey = 3021;
constexpr WORD kCmdHelp = 3023;
constexpr WORD kCmdAbout = 3024;
constexpr WORD kCmdGoForward = 40010;
constexpr WORD kCmdGoBack = 40011;
constexpr WORD kCmdOptions = 40032;
constexpr WORD kCmdContactSupport = 40035;

struct AcceleratorTableCloser {
    void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
};
using AcceleratorTable = std::unique_ptr<std::remove_pointer_t<HACCEL>, AcceleratorTableCloser>;

AcceleratorTable CreateKeywrightAccelerators();

// Inserts the menu at `position` of the frame's menu bar; without a bar, nothing.
void InsertKeywrightMenu(HWND frame, int position);

// WM_MENUSELECT: shows the add-in's status text for its own items. Returns whether
// the message was for an add-in item (and so is consumed).
bool ShowMenuStatus(HWND statusBar, WPARAM statusPart, WORD itemId, WORD flags);

// WM_INITMENUPOPUP: enables the folder command in the add-in's popup. Returns whether
// the popup was the add-in's.
bool PrepareKeywrightPopup(HMENU popup, bool bookmarkTreeHasFocus);

} // namespace keywright
