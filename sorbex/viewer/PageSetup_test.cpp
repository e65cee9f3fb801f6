// Tests of the page-setup arithmetic between stored twips and the dialog's units.
#include "viewer/PageSetup.h"

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

} // namespace
} // namespace sorbex
