// The numbers and window structure of one registry editor that the add-in attaches to.
#pragma once

#include <windows.h>

namespace keywright {

// Every number that differs between editors lives here and nowhere else.
struct HostProfile {
    const char* name = "";
    // Class of the frame's child that holds the tree and list and receives their
    // notifications; null when they are direct children of the frame.
    const wchar_t* paneContainerClass = nullptr;
    // Whether the frame's own WM_SIZE handling runs before the add-in lays the panes
    // out. The system's editor leaves the layout to the add-in; Wine's sizes its pane
    // container and status bar itself, and the add-in then moves them into place.
    bool sizeFrameFirst = false;
    int menuPosition = 0;      // where "&Keywright" goes in the menu bar
    int acceleratorTable = 0;  // the editor's own table, in its executable
    WPARAM menuStatusPart = 0; // SB_SETTEXT wParam for the text of a highlighted menu item
    WORD cmdSwitchPane = 0;
    WORD cmdRefresh = 0;
    WORD cmdHelp = 0;
    WORD cmdDelete = 0;
    WORD cmdRename = 0;
    WORD cmdNewKey = 0;
    WORD cmdNewString = 0;
    WORD cmdNewDword = 0;
    WORD cmdNewBinary = 0;
};

// The editor's windows found at attach.
struct HostWindows {
    HWND frame = nullptr;
    HWND paneContainer = nullptr; // receives the tree's and list's notifications
    HWND tree = nullptr;
    HWND list = nullptr;
    HWND statusBar = nullptr;
};

// Picks the profile from the frame's child structure and finds the editor's windows.
// Returns null when the frame has no tree view and list view.
const HostProfile* DetectHost(HWND frame, HostWindows* windows);

} // namespace keywright
