// The pane layout's arithmetic, apart from the windows it moves.
#include "host/PaneLayout.h"

#include <algorithm>

namespace keywright {

namespace {

int AtLeastZero(int value) {
    return std::max(value, 0);
}

} // namespace

PaneLayout LayOutPanes(const PaneMeasures& m) {
    const int width = AtLeastZero(m.clientWidth);
    const int toolbar = AtLeastZero(m.toolbarHeight);
    const int status = AtLeastZero(m.statusHeight);
    // A window lower than toolbar and status bar together leaves no room between them.
    const int between = AtLeastZero(m.clientHeight - status - toolbar);
    const int upper = between / 2;
    PaneLayout layout;
    using kestrix::RectAt;
    layout.toolbar = RectAt(0, 0, width, toolbar);
    layout.tree = RectAt(0, toolbar - 1, AtLeastZero(m.treeWidth), between + 1);
    layout.list = RectAt(m.listLeft, toolbar - 1, AtLeastZero(width - m.treeWidth - 3), upper + 1);
    layout.bookmarkPane = RectAt(m.listLeft - 1, toolbar + upper,
                                 AtLeastZero(width - m.treeWidth - 2), between - upper);
    layout.statusBar = RectAt(0, toolbar + between, width, status);
    return layout;
}

FocusPane NextFocusPane(FocusPane current, bool backward, bool hasBookmarkPane) {
    constexpr int kPanes = 3;
    const int step = backward ? kPanes - 1 : 1;
    int pane = (static_cast<int>(current) + step) % kPanes;
    if (pane == static_cast<int>(FocusPane::Bookmarks) && !hasBookmarkPane)
        pane = (pane + step) % kPanes;
    return static_cast<FocusPane>(pane);
}

} // namespace keywright
