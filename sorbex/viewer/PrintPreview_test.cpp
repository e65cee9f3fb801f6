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

} // namespace
} // namespace sorbex
