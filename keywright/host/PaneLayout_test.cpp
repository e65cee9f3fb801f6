// The pane layout for ordinary and degenerate window sizes, and the focus cycle.
#include "host/PaneLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace keywright {
namespace {

// A pane's place as the cases give it: corner and size.
struct Place {
    int x, y, width, height;
};

auto Tie(const Place& p) {
    return std::make_tuple(p.x, p.y, p.width, p.height);
}

auto Tie(const PaneRect& r) {
    return std::make_tuple(r.left, r.top, r.width(), r.height());
}

TEST(PaneLayout, SplitsTheRightSideBetweenListAndBookmarks) {
    struct Case {
        const char* name;
        PaneMeasures in;
        Place toolbar, tree, list, pane, status;
    } cases[] = {
        // Odd height between the bars: the bookmark pane takes the larger half.
        {"ordinary",
         {800, 600, 28, 20, 250, 253},
         {0, 0, 800, 28},
         {0, 27, 250, 553},
         {253, 27, 547, 277},
         {252, 304, 548, 276},
         {0, 580, 800, 20}},
        {"even height",
         {640, 448, 26, 22, 200, 203},
         {0, 0, 640, 26},
         {0, 25, 200, 401},
         {203, 25, 437, 201},
         {202, 226, 438, 200},
         {0, 426, 640, 22}},
        // Smaller than the two bars: nothing between them, nothing negative.
        {"tiny",
         {100, 30, 28, 20, 250, 253},
         {0, 0, 100, 28},
         {0, 27, 250, 1},
         {253, 27, 0, 1},
         {252, 28, 0, 0},
         {0, 28, 100, 20}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PaneLayout out = LayOutPanes(c.in);
        EXPECT_EQ(Tie(c.toolbar), Tie(out.toolbar));
        EXPECT_EQ(Tie(c.tree), Tie(out.tree));
        EXPECT_EQ(Tie(c.list), Tie(out.list));
        EXPECT_EQ(Tie(c.pane), Tie(out.bookmarkPane));
        EXPECT_EQ(Tie(c.status), Tie(out.statusBar));
    }
}

TEST(PaneLayout, FocusCyclesThroughThePanesAndSkipsAMissingBookmarkPane) {
    using P = FocusPane;
    const struct {
        P from;
        bool backward, pane;
        P to;
    } cases[] = {
        {P::Tree, false, true, P::List},      {P::List, false, true, P::Bookmarks},
        {P::Bookmarks, false, true, P::Tree}, {P::Tree, true, true, P::Bookmarks},
        {P::List, false, false, P::Tree},     {P::Tree, true, false, P::List},
        {P::List, true, false, P::Tree},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.from) * 10 + c.backward);
        EXPECT_EQ(c.to, NextFocusPane(c.from, c.backward, c.pane));
    }
}

} // namespace
} // namespace keywright
