// The preview window's arithmetic: panes, splitter, minimum size, progress, placement.
#include "preview/PreviewLayout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace keywright {
namespace {

auto Tie(const PreviewRect& r) {
    return std::make_tuple(r.left, r.top, r.right, r.bottom);
}

// A client area 600 wide with an OK button 75 wide, 8 from the right: the panes' area
// ends at 600 - 16 - 75 = 509.
constexpr PreviewMeasures kMeasures{600, 75, 8, 0, 0, 380};

TEST(PreviewLayout, SplitsByPercentAndKeepsIt) {
    struct Case {
        const char* name;
        PreviewMeasures measures;
        int percent;
        PreviewRect tree, splitter, list;
        int position, percentAfter;
    } cases[] = {
        // 50 % of 509 is 254.5, rounded to 255; the tree ends two pixels before it.
        {"half", kMeasures, 50, {0, 0, 253, 380}, {253, 0, 257, 380}, {257, 0, 509, 380}, 255, 50},
        // 37 % of 130 = 48.1 → 48; 48 × 100 ÷ 130 = 36.9, truncated to 36.
        {"truncated",
         {221, 75, 8, 0, 0, 100},
         37,
         {0, 0, 46, 100},
         {46, 0, 50, 100},
         {50, 0, 130, 100},
         48,
         36},
        {"tree at least one pixel",
         kMeasures,
         0,
         {0, 0, 1, 380},
         {1, 0, 5, 380},
         {5, 0, 509, 380},
         3,
         0},
        {"list at least one pixel",
         kMeasures,
         100,
         {0, 0, 504, 380},
         {504, 0, 508, 380},
         {508, 0, 509, 380},
         506,
         99},
        {"a left margin",
         {600, 75, 8, 4, 6, 380},
         50,
         {4, 6, 253, 380},
         {253, 6, 257, 380},
         {257, 6, 509, 380},
         255,
         49},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PreviewPanes panes = LayOutByPercent(c.measures, c.percent);
        EXPECT_EQ(Tie(c.tree), Tie(panes.tree));
        EXPECT_EQ(Tie(c.splitter), Tie(panes.splitter));
        EXPECT_EQ(Tie(c.list), Tie(panes.list));
        EXPECT_EQ(c.position, panes.splitPosition);
        EXPECT_EQ(c.percentAfter, panes.splitPercent);
    }
}

TEST(PreviewLayout, PlacesTheSplitWhereTheSplitterWasDropped) {
    struct Case {
        int x;
        int position, percent;
        PreviewRect line;
    } cases[] = {
        {100, 100, 19, {99, 0, 102, 380}},
        {300, 300, 58, {299, 0, 302, 380}},
        // Beyond the area's ends the split stops where both panes keep a pixel.
        {-50, 3, 0, {2, 0, 5, 380}},
        {900, 506, 99, {505, 0, 508, 380}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        const PreviewPanes panes = LayOutAtPosition(kMeasures, c.x);
        EXPECT_EQ(c.position, panes.splitPosition);
        EXPECT_EQ(c.percent, panes.splitPercent);
        EXPECT_EQ(Tie(c.line), Tie(DragLine(kMeasures, c.x)));
    }
    // A stored position becomes the opening percentage when it lies inside the area.
    EXPECT_EQ(49, PercentForPosition(kMeasures, 250, 50));
    EXPECT_EQ(50, PercentForPosition(kMeasures, 0, 50));
    EXPECT_EQ(50, PercentForPosition(kMeasures, 509, 50));
    EXPECT_EQ(50, PercentForPosition({100, 75, 8, 0, 0, 380}, 20, 50));
}

TEST(PreviewLayout, MeasuresTheSmallestWindowAndTheProgressBar) {
    EXPECT_EQ(std::make_tuple(270, 180),
              std::make_tuple(MinimumWindowSize(18).width, MinimumWindowSize(18).height));
    // 90 % of the status bar, rounded.
    EXPECT_EQ(540, ProgressPartRight(600));
    EXPECT_EQ(542, ProgressPartRight(602)); // 541.8
    EXPECT_EQ(541, ProgressPartRight(601)); // 540.9
    EXPECT_EQ(0, ProgressPartRight(0));
    // Inside the part: 2 pixels in from each side, half as high, centred.
    EXPECT_EQ(Tie(PreviewRect{2, 5, 538, 15}), Tie(ProgressBarRect({0, 0, 540, 20})));
    EXPECT_EQ(Tie(PreviewRect{12, 107, 38, 117}), Tie(ProgressBarRect({10, 102, 40, 123})));
    EXPECT_EQ(Tie(PreviewRect{2, 0, 2, 0}), Tie(ProgressBarRect({0, 0, 3, 1})));
}

TEST(PreviewLayout, StepsTheProgressBarByWholePercents) {
    EXPECT_EQ(0, ProgressPercent(0, 0));
    EXPECT_EQ(0, ProgressPercent(5, 1000));
    EXPECT_EQ(50, ProgressPercent(500, 1000));
    EXPECT_EQ(100, ProgressPercent(1000, 1000));
    // Former fault: position × 100 in 32 bits wraps above 42,949,672 bytes.
    EXPECT_EQ(93, ProgressPercent(4000000000u, 4294967295u));
    EXPECT_EQ(99, ProgressPercent(49000000u, 49000001u));

    ProgressSteps steps;
    int moves = 0;
    for (std::uint32_t position = 0; position <= 20000; position += 7)
        moves += steps.Advance(ProgressPercent(position, 20000)) ? 1 : 0;
    EXPECT_EQ(100, moves); // 0 to 99; 20000 itself is not a multiple of 7
    EXPECT_FALSE(steps.Advance(99));
    steps.Reset();
    EXPECT_TRUE(steps.Advance(99));
}

TEST(PreviewLayout, OpensWhereItWasOrWhereItCanBeSeen) {
    const PreviewSize minimum{270, 180};
    const PreviewRect screen{0, 0, 1024, 768};
    const PreviewRect fallback{5, 5, 600, 450};
    struct Case {
        const char* name;
        PreviewRect stored, opened;
    } cases[] = {
        {"as stored", {100, 50, 700, 550}, {100, 50, 700, 550}},
        {"too small", {100, 50, 110, 60}, {100, 50, 370, 230}},
        {"edges swapped", {700, 550, 100, 50}, {700, 550, 970, 730}},
        {"partly off the right", {900, 10, 1500, 400}, {900, 10, 1500, 400}},
        {"off the right", {1100, 10, 1500, 400}, {5, 5, 600, 450}},
        {"off the bottom", {10, 800, 500, 1200}, {5, 5, 600, 450}},
        {"caption above the top", {10, -400, 500, 300}, {5, 5, 600, 450}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Tie(c.opened), Tie(OpeningRect(c.stored, minimum, screen, fallback)));
    }
}

} // namespace
} // namespace keywright
