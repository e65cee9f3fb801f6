// Tests of the print preview's model: paging through one or two pages at a time, and
// where the pages are drawn in the window.
#include "viewer/PrintPreview.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(PrintPreviewTest, APaperWithoutAPrinterIsPrintableAllOver) {
    const struct {
        int paperSize;
        int orientation;
        long width;
        long height;
    } cases[] = {
        {kPaperA4, kOrientationPortrait, 11906, 16838},
        {kPaperA4, kOrientationLandscape, 16838, 11906},
        {1, kOrientationPortrait, 12240, 15840}, // Letter
        {5, kOrientationLandscape, 20160, 12240}, // Legal
        {999, kOrientationPortrait, 11906, 16838}, // unknown: A4
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.paperSize);
        CPageSetup setup;
        setup.paperSize = c.paperSize;
        setup.orientation = c.orientation;
        const CPrinterPage page = PaperPage(setup);
        EXPECT_EQ(c.width, page.paperWidth);
        EXPECT_EQ(c.height, page.paperHeight);
        EXPECT_EQ(c.width, page.printableWidth);
        EXPECT_EQ(c.height, page.printableHeight);
        EXPECT_EQ(0, page.printableLeft);
    }
}

TEST(PrintPreviewTest, StoredPagesAtOnceAreOneOrTwo) {
    const struct {
        int stored;
        int shown;
    } cases[] = {{-3, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 2}, {1000, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(c.shown, PreviewPagesFrom(c.stored));
        EXPECT_EQ(c.shown, CPrintPreview({0}, c.stored).pagesAtOnce());
    }
}

// Steps: n = Next, p = Previous, t = toggle one/two pages. After each, the first page
// shown, how many are shown, and whether next and previous are possible.
TEST(PrintPreviewTest, PagingThroughTheText) {
    const struct {
        const char* what;
        std::size_t pages;
        int atOnce;
        const char* steps;
        const char* expected; // per step: first, shown count, N or -, P or -
    } cases[] = {
        {"one page", 1, 1, "np", "01-- 01--"},
        {"an empty text still has its page", 0, 2, "n", "01--"},
        {"three pages, one at a time", 3, 1, "nnnpp", "11NP 21-P 21-P 11NP 01N-"},
        {"three pages, two at a time", 3, 2, "nnp", "12-P 12-P 02N-"},
        {"two at a time at the end show the last two", 3, 1, "nnt", "11NP 21-P 12-P"},
        {"back to one page keeps the first", 4, 2, "nt", "12NP 11NP"},
        {"two pages of a one-page text", 1, 1, "t", "01--"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<long> starts;
        for (std::size_t k = 0; k < c.pages; ++k)
            starts.push_back(static_cast<long>(k * 100));
        CPrintPreview preview(starts, c.atOnce);
        EXPECT_EQ(std::max<std::size_t>(c.pages, 1), preview.pageCount());
        std::string seen;
        for (const char* step = c.steps; *step; ++step) {
            if (*step == 'n')
                preview.Next();
            else if (*step == 'p')
                preview.Previous();
            else
                preview.TogglePagesAtOnce();
            if (!seen.empty())
                seen += ' ';
            seen += std::to_string(preview.first()) + std::to_string(preview.shownCount()) +
                    (preview.CanGoNext() ? "N" : "-") + (preview.CanGoPrevious() ? "P" : "-");
        }
        EXPECT_EQ(c.expected, seen);
    }
}

TEST(PrintPreviewTest, PagesAreDrawnAsBigAsTheyFitInThePapersProportions) {
    constexpr long kA4Width = 11906; // twips
    constexpr long kA4Height = 16838;
    const struct {
        const char* what;
        int atOnce;
        int width;
        int height;
        long paperWidth;
        long paperHeight;
        std::vector<CPreviewRect> expected;
    } cases[] = {
        // 600 - 24 = 576 down; 576 * 11906 / 16838 = 407 across, centred in 800.
        {"one A4 page, height bound", 1, 800, 600, kA4Width, kA4Height, {{196, 12, 603, 588}}},
        // Two: 800 - 36 = 764, 382 each; 382 * 16838 / 11906 = 540 down.
        {"two A4 pages, width bound", 2, 800, 600, kA4Width, kA4Height,
         {{12, 30, 394, 570}, {406, 30, 788, 570}}},
        {"landscape, width bound", 1, 400, 600, kA4Height, kA4Width, {{12, 167, 388, 432}}},
        {"no room", 1, 20, 600, kA4Width, kA4Height, {}},
        {"no paper", 1, 800, 600, 0, kA4Height, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CPrintPreview preview({0, 100, 200}, c.atOnce);
        const std::vector<CPreviewRect> rects =
            preview.PageRects(c.width, c.height, c.paperWidth, c.paperHeight);
        ASSERT_EQ(c.expected.size(), rects.size());
        for (std::size_t k = 0; k < rects.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(c.expected[k].left, rects[k].left);
            EXPECT_EQ(c.expected[k].top, rects[k].top);
            EXPECT_EQ(c.expected[k].right, rects[k].right);
            EXPECT_EQ(c.expected[k].bottom, rects[k].bottom);
        }
    }
}

// Zoomed, the pages grow past the window and the view scrolls over them, never past
// their edges; zoomed back to fit, they are centred again.
TEST(PrintPreviewTest, ZoomedPagesScrollWithinTheirEdges) {
    // A square paper in a 400 x 300 window: one page fits at 276 x 276.
    const CPreviewView view{400, 300, 10000, 10000};
    CPrintPreview preview({0, 100}, 1);
    EXPECT_FALSE(preview.CanZoomOut());
    EXPECT_EQ((std::vector<CPreviewRect>{{62, 12, 338, 288}}), preview.PageRects(view));
    preview.ScrollBy(50, 50, view);
    EXPECT_EQ((std::vector<CPreviewRect>{{62, 12, 338, 288}}), preview.PageRects(view))
        << "nothing to scroll while the page fits";

    const struct {
        const char* what;
        char step; // + zoom in, - zoom out, s scroll by (dx, dy), t scroll to (dx, dy)
        int dx;
        int dy;
        int percent;
        CPreviewRect rect;
    } steps[] = {
        // 414 x 414, 438 x 438 with the gaps: wider and higher than the window.
        {"150 %", '+', 0, 0, 150, {12, 12, 426, 426}},
        {"scrolled", 's', 30, 40, 150, {-18, -28, 396, 386}},
        {"not past the right and bottom edges", 's', 500, 500, 150, {-26, -126, 388, 288}},
        {"not past the left and top edges", 't', -9, -9, 150, {12, 12, 426, 426}},
        {"200 %", '+', 0, 0, 200, {12, 12, 564, 564}},
        {"300 %", '+', 0, 0, 300, {12, 12, 840, 840}},
        {"400 %", '+', 0, 0, 400, {12, 12, 1116, 1116}},
        {"no further", '+', 0, 0, 400, {12, 12, 1116, 1116}},
        {"scrolled to the end", 't', 5000, 5000, 400, {-716, -816, 388, 288}},
        {"zooming out keeps the view within the edges", '-', 0, 0, 300, {-440, -540, 388, 288}},
        {"200 % again", '-', 0, 0, 200, {-164, -264, 388, 288}},
        {"150 % again", '-', 0, 0, 150, {-26, -126, 388, 288}},
        {"centred again", '-', 0, 0, 100, {62, 12, 338, 288}},
        {"no further", '-', 0, 0, 100, {62, 12, 338, 288}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.step == '+')
            preview.ZoomIn();
        else if (step.step == '-')
            preview.ZoomOut();
        else if (step.step == 's')
            preview.ScrollBy(step.dx, step.dy, view);
        else
            preview.ScrollTo(step.dx, step.dy, view);
        EXPECT_EQ(step.percent, preview.zoomPercent());
        EXPECT_EQ(std::vector<CPreviewRect>{step.rect}, preview.PageRects(view));
        const CPreviewExtent extent = preview.Extent(view);
        EXPECT_GE(extent.scrollX, 0);
        EXPECT_LE(extent.scrollX, std::max(extent.width - view.width, 0));
    }
    EXPECT_TRUE(preview.CanZoomIn());
}

} // namespace
} // namespace sorbex
