// Every private window message of the add-in, by name. The numbers are the ones the
// editor's subclassed windows, the add-in's panes and its windows agree on.
#pragma once

#include "host/LauncherMessages.h"

#include <windows.h>

namespace keywright {

// To the hidden control window, from a navigation thread that Back or Forward started,
// when it ends; wParam is the history's number of that navigation.
constexpr UINT kMsgNavigationEnded = 0x8010;

// To the editor's main window.
constexpr UINT kMsgRelayout = WM_USER + 300;       // the editor's splitter moved the list
constexpr UINT kMsgRepaintToolbar = WM_USER + 309; // after the frame's own sizing

// To the bookmark pane.
constexpr UINT kMsgBookmarkReload = WM_USER + 302;
constexpr UINT kMsgBookmarkDelete = WM_USER + 303;
constexpr UINT kMsgBookmarkRename = WM_USER + 304;
constexpr UINT kMsgBookmarkHasFocus = WM_USER + 305; // answers 1 while its tree has the focus
constexpr UINT kMsgBookmarkFocus = WM_USER + 306;
constexpr UINT kMsgBookmarkNewFolder = WM_USER + 307;

// To the debug window: lParam a code-page text, wParam nonzero ends the line.
constexpr UINT kMsgDebugAppend = WM_USER + 308;

// To a search window, from its worker.
constexpr UINT kMsgSearchDone = WM_APP + 2;
constexpr UINT kMsgSearchTakeHits = WM_APP + 20;
constexpr UINT kMsgSearchTakeProgress = WM_APP + 21;

} // namespace keywright
