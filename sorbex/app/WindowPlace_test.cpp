// Tests of where a stored window comes back: on the monitors there are now.
#include "app/WindowPlace.h"

#include <gtest/gtest.h>

namespace sorbex {
namespace {

CRect R(int left, int top, int right, int bottom) {
    CRect rect;
    rect.left = left;
    rect.top = top;
    rect.right = right;
    rect.bottom = bottom;
    return rect;
}

TEST(WindowPlaceTest, AWindowComesBackWhereTheUserCanTakeIt) {
    const CRect primary = R(0, 0, 1024, 740);   // less the task bar
    const CRect second = R(1024, 0, 2304, 1024); // to its right
    const struct {
        const char* what;
        CRect window;
        std::vector<CRect> areas;
        CRect expected;
    } cases[] = {
        {"on the primary monitor", R(100, 50, 700, 550), {primary, second}, R(100, 50, 700, 550)},
        {"on the second monitor", R(1200, 100, 1800, 900), {primary, second},
         R(1200, 100, 1800, 900)},
        {"across both", R(800, 100, 1400, 600), {primary, second}, R(800, 100, 1400, 600)},
        {"mostly off the right edge, caption still to take", R(950, 100, 1550, 600), {primary},
         R(950, 100, 1550, 600)},
        {"on a monitor that is gone", R(1200, 100, 1800, 900), {primary}, R(424, 0, 1024, 740)},
        {"far off to the left", R(-3000, 200, -2400, 500), {primary, second},
         R(0, 200, 600, 500)},
        {"caption above the top", R(100, -40, 700, 400), {primary}, R(100, 0, 700, 440)},
        {"caption below the work area", R(100, 730, 700, 1200), {primary}, R(100, 270, 700, 740)},
        {"bigger than the monitor", R(-50, -50, 3000, 2000), {primary}, R(0, 0, 1024, 740)},
        {"moves to the monitor it overlaps most", R(1000, -500, 1600, 200), {primary, second},
         R(1024, 0, 1624, 700)},
        {"no monitors known", R(5000, 5000, 5600, 5500), {}, R(5000, 5000, 5600, 5500)},
        {"an empty rectangle is put on the screen", R(4000, 4000, 4000, 4000), {primary},
         R(1024, 740, 1024, 740)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CRect placed = KeepOnWorkArea(c.window, c.areas);
        EXPECT_EQ(c.expected.left, placed.left);
        EXPECT_EQ(c.expected.top, placed.top);
        EXPECT_EQ(c.expected.right, placed.right);
        EXPECT_EQ(c.expected.bottom, placed.bottom);
    }
}

} // namespace
} // namespace sorbex
