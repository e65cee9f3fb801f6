// Tests of the page-setup arithmetic between stored twips and the dialog's units.
#include "viewer/PageSetup.h"

#include <utility>

#include <gtest/gtest.h>

namespace sorbex {
namespace {

TEST(PageSetupTest, MarginsConvertToTheNearestUnit) {
    struct Case {
        long twips;
        long hundredths;
    };
    const Case cases[] = {
        {0, 0}, {1134, 2000}, {1440, 2540}, {720, 1270}, {567, 1000}, {1, 2}, {2, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.twips);
        EXPECT_EQ(c.hundredths, TwipsToHundredthsOfMm(c.twips));
        EXPECT_EQ(c.twips, HundredthsOfMmToTwips(c.hundredths));
    }
}

// Former fault: the margins were cut, not rounded, so that each OK in the dialog took
// a twip off them (1134 became 2000 hundredths and those 1133 twips).
TEST(PageSetupTest, ConfirmingTheDialogKeepsTheMargins) {
    for (long twips = 0; twips <= 20000; ++twips) {
        ASSERT_EQ(twips, HundredthsOfMmToTwips(TwipsToHundredthsOfMm(twips))) << twips;
    }
    CPageSetup setup;
    setup.margins = {{1134, 1440, 0, 2000}};
    setup.orientation = kOrientationLandscape;
    setup.paperSize = 1;
    const CPageSetupDialogValues values = ToDialogValues(setup);
    EXPECT_EQ((std::array<long, 4>{{2000, 2540, 0, 3528}}), values.margins);
    EXPECT_EQ(kOrientationLandscape, values.orientation);
    EXPECT_EQ(1, values.paperSize);
    const CPageSetup back = FromDialogValues(values);
    EXPECT_EQ(setup.margins, back.margins);
    EXPECT_EQ(kOrientationLandscape, back.orientation);
    EXPECT_EQ(1, back.paperSize);
}

// Where the text goes on an A4 page (11906 x 16838 twips) whose printer cannot print
// the outer quarter inch (360 twips).
TEST(PageSetupTest, ThePrintAreaIsThePaperLessTheMarginsWithinWhatThePrinterPrints) {
    CPrinterPage a4;
    a4.paperWidth = 11906;
    a4.paperHeight = 16838;
    a4.printableLeft = a4.printableTop = 360;
    a4.printableWidth = 11906 - 720;
    a4.printableHeight = 16838 - 720;
    CPrinterPage landscape = a4;
    std::swap(landscape.paperWidth, landscape.paperHeight);
    std::swap(landscape.printableWidth, landscape.printableHeight);
    const struct {
        const char* name;
        CPrinterPage page;
        std::array<long, 4> margins;
        CTwipsRect area;
    } cases[] = {
        {"the stored 2 cm", a4, {{1134, 1134, 1134, 1134}}, {774, 774, 10412, 15344}},
        {"landscape", landscape, {{1134, 1134, 1134, 1134}}, {774, 774, 15344, 10412}},
        {"margins inside the unprintable edge", a4, {{0, 100, 0, 100}}, {0, 0, 11186, 16118}},
        {"uneven", a4, {{1440, 720, 2880, 360}}, {1080, 360, 8666, 16118}},
        {"left and right wider than the paper", a4, {{8000, 1134, 8000, 1134}},
         {0, 774, 11186, 15344}},
        {"top and bottom wider than the paper", a4, {{1134, 9000, 1134, 9000}},
         {774, 0, 10412, 16118}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPageSetup setup;
        setup.margins = c.margins;
        const CTwipsRect area = PrintArea(c.page, setup);
        EXPECT_EQ(c.area.left, area.left);
        EXPECT_EQ(c.area.top, area.top);
        EXPECT_EQ(c.area.right, area.right);
        EXPECT_EQ(c.area.bottom, area.bottom);
    }
}

TEST(PageSetupTest, PagesFollowOneAnotherUntilTheTextEndsOrAPageTakesNothing) {
    const struct {
        const char* name;
        long length;
        std::function<long(long)> page;
        std::vector<long> starts;
    } cases[] = {
        {"pages of 100", 250, [](long from) { return from + 100; }, {0, 100, 200}},
        {"an exact fit", 200, [](long from) { return from + 100; }, {0, 100}},
        {"an empty text", 0, [](long) { return 0L; }, {0}},
        {"a page that takes nothing", 250,
         [](long from) { return from < 100 ? from + 100 : from; }, {0, 100}},
        {"a control that answers nothing", 250, [](long) { return 0L; }, {0}},
        {"a page that goes back", 250, [](long from) { return from == 0 ? 120 : 50; }, {0, 120}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.starts, PaginateText(c.length, c.page));
    }
}

} // namespace
} // namespace sorbex
