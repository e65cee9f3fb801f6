// The bookmark pane under the editor's list view. Its bookmark tree comes with the
// bookmarks; until then it is an empty pane that answers the pane messages.
#pragma once

#include <windows.h>

namespace keywright {

constexpr wchar_t kBookmarkPaneClass[] = L"Velmara-Sheet-Wnd";

// Registers the pane's window class; true when it is registered (now or before).
bool RegisterBookmarkPaneClass(HINSTANCE own);

// Creates the pane as a child of the editor's main window; the window owns its object
// and goes with the main window.
HWND OpenBookmarkPane(HWND frame, HINSTANCE own);

// True when the bookmark pane exists and its tree has the focus.
bool BookmarkTreeHasFocus();

} // namespace keywright
