// Where the toolbar, the editor's tree and list, the bookmark pane and the status bar
// go in the editor's main window.
#pragma once

#include "platform/Rect.h"

namespace keywright {

using PaneRect = kestrix::Rect;

// Sizes measured before the layout, in the main window's client coordinates.
struct PaneMeasures {
    int clientWidth = 0;
    int clientHeight = 0;
    int toolbarHeight = 0;
    int statusHeight = 0;
    int treeWidth = 0; // kept: the editor's own splitter decides it
    int listLeft = 0;  // the list view's current left edge
};

struct PaneLayout {
    PaneRect toolbar;
    PaneRect tree;
    PaneRect list;
    PaneRect bookmarkPane;
    PaneRect statusBar;
};

// The tree takes the whole height between toolbar and status bar; the list the upper
// half beside it and the bookmark pane the lower half. No size comes out negative,
// however small the window.
PaneLayout LayOutPanes(const PaneMeasures& measures);

// The panes that take the keyboard focus in turn: the editor's switch-panes command
// moves it forward, with Shift backward.
enum class FocusPane { Tree, List, Bookmarks };

// The pane after `current`; without a bookmark pane the cycle skips its place.
FocusPane NextFocusPane(FocusPane current, bool backward, bool hasBookmarkPane);

} // namespace keywright
