// The wizard's layout at its first size and larger, for each page.
#include "wizard/WizardLayout.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

// A dialog of 500 x 400 client pixels.
WizardFrame Frame() {
    WizardFrame f;
    f.firstWidth = 500;
    f.firstHeight = 400;
    f.upperDivider = {10, 100, 490, 102};
    f.lowerDivider = {10, 350, 490, 352};
    f.back = {250, 360, 320, 384};
    f.next = {325, 360, 395, 384};
    f.close = {410, 360, 480, 384};
    f.list = {10, 110, 400, 300};
    f.sideButtons = {410, 110, 480, 160};
    f.progress = {10, 310, 400, 340};
    f.gap = 6;
    return f;
}

TEST(WizardLayout, PagesAtTheFirstSize) {
    const struct {
        WizardState state;
        int listBottom;
    } cases[] = {
        {kStateSearch, 304},              // up to the progress labels
        {kStateReview, 344 - 90 - 6},     // the detail window's 90 pixels below
        {kStateReady, 344},               // down to the lower divider
        {kStateApplied, 344},
        {kStateUndone, 344},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        WizardPlacement p = LayOutWizard(Frame(), 500, 400, c.state);
        EXPECT_EQ((WizardRect{10, 110, 400, c.listBottom}), p.list);
        EXPECT_EQ(390 - 130, p.column0);
        EXPECT_EQ(0, p.sideShift);
        EXPECT_EQ(0, p.progressShift);
        EXPECT_EQ(Frame().close, p.close);
    }
    WizardPlacement review = LayOutWizard(Frame(), 500, 400, kStateReview);
    EXPECT_EQ((WizardRect{10, 254, 400, 344}), review.detail);
    EXPECT_EQ(90, review.detail.height());
}

TEST(WizardLayout, ALargerWindowMovesTheButtonsAndStretchesListAndDividers) {
    WizardPlacement p = LayOutWizard(Frame(), 700, 550, kStateReview);
    EXPECT_EQ((WizardRect{450, 510, 520, 534}), p.back);
    EXPECT_EQ((WizardRect{525, 510, 595, 534}), p.next);
    EXPECT_EQ((WizardRect{610, 510, 680, 534}), p.close);
    EXPECT_EQ((WizardRect{10, 100, 690, 102}), p.upperDivider);
    EXPECT_EQ((WizardRect{10, 500, 690, 502}), p.lowerDivider);
    EXPECT_EQ(200, p.sideShift);
    EXPECT_EQ(150, p.progressShift);
    EXPECT_EQ((WizardRect{10, 110, 600, 494 - 90 - 6}), p.list);
    EXPECT_EQ((WizardRect{10, 404, 600, 494}), p.detail);
    EXPECT_EQ(590 - 130, p.column0);

    WizardPlacement search = LayOutWizard(Frame(), 700, 550, kStateSearch);
    EXPECT_EQ(310 + 150 - 6, search.list.bottom);
}

TEST(WizardLayout, NothingGoesBelowTheFirstSize) {
    for (WizardState state : {kStateSearch, kStateReview, kStateReady}) {
        SCOPED_TRACE(state);
        WizardPlacement small = LayOutWizard(Frame(), 120, 80, state);
        WizardPlacement first = LayOutWizard(Frame(), 500, 400, state);
        EXPECT_EQ(first.list, small.list);
        EXPECT_EQ(first.close, small.close);
        EXPECT_EQ(first.lowerDivider, small.lowerDivider);
    }
}

} // namespace
} // namespace keywright
