// Tests of the main window's layout and of the property bar's fold.
#include "app/FrameLayout.h"

#include <gtest/gtest.h>

namespace sorbex {
namespace {

// A toolbar, a status bar, a splitter and a tab row of a usual window.
CFrameMetrics Metrics() {
    CFrameMetrics m;
    m.toolbarHeight = 28;
    m.statusHeight = 22;
    m.splitterHeight = 5;
    m.tabRowHeight = 20;
    return m;
}

TEST(FrameLayoutTest, PanesStackFromToolbarToStatusBar) {
    const CRect client{0, 0, 800, 600};
    const CFrameMetrics m = Metrics();
    EXPECT_EQ(550, SharedHeight(client, m));
    const int bar = PropertyBarHeight(SharedHeight(client, m), 0.38);
    EXPECT_EQ(209, bar);
    const CFrameLayout layout = LayOutFrame(client, m, bar);
    EXPECT_EQ((CRect{0, 0, 800, 28}), layout.toolbar);
    EXPECT_EQ((CRect{0, 28, 800, 237}), layout.propertyBar);
    EXPECT_EQ((CRect{0, 237, 800, 242}), layout.splitter);
    EXPECT_EQ((CRect{0, 242, 800, 262}), layout.tabRow);
    EXPECT_EQ((CRect{0, 262, 800, 578}), layout.resultView);
    EXPECT_EQ((CRect{0, 578, 800, 600}), layout.status);

    // A window too small for everything gives the results nothing, never less.
    const CFrameLayout tiny = LayOutFrame({0, 0, 100, 40}, m, 209);
    EXPECT_EQ(0, tiny.resultView.height());
    EXPECT_EQ(tiny.status.top, tiny.propertyBar.bottom);
    EXPECT_GE(tiny.propertyBar.height(), 0);
}

TEST(FrameLayoutTest, DuringAFoldTheBarStandsTallUnderThePanesThatFollowTheFold) {
    const CRect client{0, 0, 800, 600};
    const CFrameMetrics m = Metrics();
    struct Case {
        const char* name;
        int barHeight;
        int standing;
        int barBottom; // of the bar's window
    };
    const Case cases[] = {
        {"no fold: the bar is as high as it is laid out", 120, 0, 148},
        {"folding from 209: the window keeps 209", 120, 209, 237},
        {"a standing height below the bar's own counts for nothing", 120, 60, 148},
        {"never into the status bar", 120, 900, 578},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CFrameLayout plain = LayOutFrame(client, m, c.barHeight);
        const CFrameLayout fold = LayOutFrame(client, m, c.barHeight, c.standing);
        EXPECT_EQ((CRect{0, 28, 800, c.barBottom}), fold.propertyBar);
        // What lies below the bar follows the fold's height, never the window's.
        EXPECT_EQ(plain.splitter, fold.splitter);
        EXPECT_EQ(plain.tabRow, fold.tabRow);
        EXPECT_EQ(plain.resultView, fold.resultView);
        EXPECT_EQ(plain.status, fold.status);
    }
    CFoldAnimation fold;
    fold.Start(209, kFoldedBarHeight, 0);
    EXPECT_EQ(209, fold.standingHeight());
    fold.Start(kFoldedBarHeight, 209, 0);
    EXPECT_EQ(209, fold.standingHeight()) << "unfolding, the bar stands tall from the start";
}

TEST(FrameLayoutTest, SplitFactorStaysUsable) {
    EXPECT_DOUBLE_EQ(0.5, SplitFactorFor(275, 550));
    EXPECT_DOUBLE_EQ(kMinSplitFactor, SplitFactorFor(-20, 550));
    EXPECT_DOUBLE_EQ(kMaxSplitFactor, SplitFactorFor(600, 550));
    EXPECT_DOUBLE_EQ(kMinSplitFactor, SplitFactorFor(10, 0));
    EXPECT_EQ(PropertyBarHeight(550, kMaxSplitFactor), PropertyBarHeight(550, 7.0));
}

TEST(FrameLayoutTest, PropertyBarShowsOnlyItsTabsWhenFolded) {
    CPropertyBarMetrics m;
    m.margin = 4;
    m.buttonWidth = 75;
    m.buttonHeight = 23;
    m.buttonTop = 26;
    const CPropertyBarLayout open = LayOutPropertyBar(800, 200, m);
    EXPECT_TRUE(open.pagesVisible);
    EXPECT_EQ((CRect{0, 0, 717, 200}), open.tabs);
    EXPECT_EQ((CRect{721, 26, 796, 49}), open.start);
    EXPECT_EQ((CRect{721, 53, 796, 76}), open.stop);
    const CPropertyBarLayout folded = LayOutPropertyBar(800, kFoldedBarHeight, m);
    EXPECT_FALSE(folded.pagesVisible);
    EXPECT_EQ((CRect{0, 0, 800, 25}), folded.tabs) << "the tabs take the whole strip";
    const CPropertyBarLayout tiny = LayOutPropertyBar(50, 30, m);
    EXPECT_GE(tiny.start.left, 0);
    EXPECT_GE(tiny.start.top, 0);

    // While the frame folds or unfolds it, the bar keeps its page and buttons as shown
    // open; the strip alone, or the end of a fold, shows only the tabs.
    struct Case {
        CBarFold fold;
        int height;
        bool pagesVisible;
        int tabsRight;
    };
    const Case cases[] = {
        {CBarFold::Open, 200, true, 717},      {CBarFold::Moving, 200, true, 717},
        {CBarFold::Folded, 200, false, 800},   {CBarFold::Moving, kFoldedBarHeight, false, 800},
        {CBarFold::Folded, kFoldedBarHeight, false, 800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fold) * 1000 + c.height);
        const CPropertyBarLayout layout = LayOutPropertyBar(800, c.height, m, c.fold);
        EXPECT_EQ(c.pagesVisible, layout.pagesVisible);
        EXPECT_EQ(c.tabsRight, layout.tabs.right);
    }
}

TEST(FoldAnimationTest, HeightMovesInProportionToTheTime) {
    CFoldAnimation fold;
    EXPECT_FALSE(fold.Running(0));
    const std::uint32_t start = 0xFFFFFF00u; // the tick count wraps during the fold
    fold.Start(225, 25, start);
    struct Case {
        std::uint32_t elapsed;
        int height;
        bool running;
    };
    const Case cases[] = {
        {0, 225, true},  {375, 125, true}, {600, 65, true},
        {749, 25, true}, {750, 25, false}, {5000, 25, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elapsed);
        EXPECT_EQ(c.height, fold.HeightAt(start + c.elapsed));
        EXPECT_EQ(c.running, fold.Running(start + c.elapsed));
    }
    fold.Start(25, 225, 100);
    EXPECT_EQ(125, fold.HeightAt(475)) << "unfolding runs the other way";
    EXPECT_EQ(225, fold.target());
}

TEST(FoldAnimationTest, StepMovesOnlyWhenAPixelChanges) {
    // A fold of 8 pixels over 750 ms: most 15 ms ticks fall between two pixel steps.
    CFoldAnimation fold;
    fold.Start(33, 25, 1000);
    int height = 33;
    int moves = 0;
    int ticks = 0;
    for (std::uint32_t now = 1000; now <= 1000 + kFoldMilliseconds + 15; now += 15) {
        const int before = height;
        const bool moved = fold.Step(now, height);
        SCOPED_TRACE(now);
        EXPECT_EQ(moved, height != before);
        EXPECT_EQ(fold.HeightAt(now), height);
        moves += moved ? 1 : 0;
        ++ticks;
    }
    EXPECT_EQ(25, height) << "the last tick lands on the strip";
    EXPECT_EQ(8, moves) << "one move per pixel, not one per tick (" << ticks << " ticks)";
    EXPECT_FALSE(fold.Step(5000, height)) << "a finished fold moves nothing";
}

TEST(FoldAnimationTest, SpacedStepsSkipTicksButKeepTheTimeAndTheEnd) {
    // 200 pixels over 750 ms, a tick every 30 ms (the first at the start moves nothing):
    // a move on every later tick, one at most every 100 ms, or only the first and last.
    struct Case {
        std::uint32_t spacing;
        int moves;
    };
    const Case cases[] = {{0, 25}, {100, 7}, {1000, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.spacing);
        CFoldAnimation fold;
        const std::uint32_t start = 0xFFFFFFF0u; // across the tick count's wrap
        fold.Start(225, 25, start);
        int height = 225;
        int moves = 0;
        std::uint32_t lastMove = start;
        for (std::uint32_t elapsed = 0; elapsed <= kFoldMilliseconds + 30; elapsed += 30) {
            const std::uint32_t now = start + elapsed;
            if (!fold.Step(now, height, c.spacing))
                continue;
            // A frame shows the height of its own time, never a stale one.
            EXPECT_EQ(fold.HeightAt(now), height) << elapsed;
            if (moves > 0 && fold.Running(now)) {
                EXPECT_GE(now - lastMove, c.spacing) << elapsed;
            }
            lastMove = now;
            ++moves;
        }
        EXPECT_EQ(25, height) << "the fold ends on the strip";
        EXPECT_EQ(c.moves, moves);
    }
    CFoldAnimation restarted;
    restarted.Start(225, 25, 0);
    int height = 225;
    EXPECT_TRUE(restarted.Step(90, height, 100));
    restarted.Start(height, 225, 120);
    EXPECT_TRUE(restarted.Step(150, height, 100)) << "a new fold's first frame does not wait";
}

} // namespace
} // namespace sorbex
