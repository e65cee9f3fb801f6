// Saved window positions: round trips, texts that hold no usable position, centring.
#include "settings/WindowPosition.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

struct ParseCase {
    const char* text;
    bool saved;
    ScreenRect rect;
};

// Each text gives its rectangle, or is refused and leaves the rectangle as it was.
template <std::size_t N>
void ExpectParsed(bool (*parse)(const char*, ScreenRect*), const ParseCase (&cases)[N]) {
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        const ScreenRect untouched{1, 2, 3, 4};
        ScreenRect rect = untouched;
        EXPECT_EQ(c.saved, parse(c.text, &rect));
        EXPECT_TRUE(rect == (c.saved ? c.rect : untouched)) << FormatWindowPosition(rect);
    }
}

TEST(WindowPosition, ParsesFourDecimalFieldsOrMeansCentre) {
    EXPECT_EQ("10 -20 610 470", FormatWindowPosition({10, -20, 610, 470}));
    const ParseCase cases[] = {
        {"10 -20 610 470", true, {10, -20, 610, 470}},
        {"-2147483648 -2147483648 2147483647 2147483647",
         true,
         {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647}},
        {"10px 20 30 40 junk", true, {10, 20, 30, 40}},
        // Only the first 15 characters of a field count.
        {"0000000000000001234 0 5 5", true, {0, 0, 5, 5}},
        {"000000000000001 0 5 5", true, {1, 0, 5, 5}},
        {kNoWindowPosition, false, {}},
        // No usable rectangle: the window would be invisible, so it is centred instead.
        {"", false, {}},
        {"10 20 30", false, {}},
        {"10  20 30 40", false, {}},
        {"10 20 5 40", false, {}},
        {"abc def ghi jkl", false, {}},
    };
    ExpectParsed(ParseWindowPosition, cases);
}

TEST(WindowPosition, CentringKeepsTheSizeAndMatchesTheCentres) {
    struct Case {
        const char* what;
        ScreenRect owner;
        ScreenRect window;
        ScreenRect expected;
    } cases[] = {
        {"smaller window", {0, 0, 800, 600}, {0, 0, 400, 300}, {200, 150, 600, 450}},
        {"window elsewhere", {100, 100, 500, 300}, {900, 900, 1100, 1000}, {200, 150, 400, 250}},
        {"larger window", {100, 100, 300, 200}, {0, 0, 400, 300}, {0, 0, 400, 300}},
        {"odd difference", {0, 0, 101, 101}, {0, 0, 10, 10}, {45, 45, 55, 55}},
        {"negative owner", {-800, -600, -400, -300}, {0, 0, 200, 100}, {-700, -500, -500, -400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScreenRect got = CentreOver(c.owner, c.window);
        EXPECT_TRUE(got == c.expected) << FormatWindowPosition(got);
    }
}

// A saved place is used only where the user can see the window and drag it back.
TEST(WindowPosition, ASavedPlaceMustShowOnTheScreen) {
    const ScreenRect screen{0, 0, 1280, 1024};
    const struct {
        const char* what;
        ScreenRect screen;
        ScreenRect window;
        bool shows;
    } cases[] = {
        {"inside", screen, {236, 220, 724, 547}, true},
        {"hanging off the bottom right", screen, {1200, 900, 1680, 1227}, true},
        {"just enough each way", screen, {1248, 992, 1728, 1319}, true},
        {"one pixel too little across", screen, {1249, 100, 1729, 427}, false},
        {"one pixel too little down", screen, {100, 993, 580, 1320}, false},
        {"beyond the right edge", screen, {3000, 100, 3480, 427}, false},
        {"above the screen", screen, {100, -400, 580, -73}, false},
        {"a minimised window's parking place", screen, {-32000, -32000, -31840, -31973}, false},
        {"on a monitor left of the main one",
         {-1920, 0, 1280, 1080},
         {-1500, 40, -1020, 367},
         true},
        {"far-off numbers do not overflow", screen, {-2147483647, 0, 2147483647, 500}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.shows, ShowsOnScreen(c.screen, c.window));
    }
}

TEST(WindowPosition, PlacesStoreLeftTopWidthAndHeight) {
    EXPECT_EQ("10 20 300 200", FormatWindowPlace({10, 20, 310, 220}));
    const ParseCase cases[] = {
        {"10 20 300 200", true, {10, 20, 310, 220}},
        // A place left of the left edge is still a place; only all four at -1 is none.
        {"-1 -1 300 200", true, {-1, -1, 299, 199}},
        {"500 500 400 300", true, {500, 500, 900, 800}},
        {kNoWindowPosition, false, {}},
        {"10 20 0 200", false, {}},
        {"10 20 300", false, {}},
        {"2147483000 0 1000 10", false, {}},
    };
    ExpectParsed(ParseWindowPlace, cases);
}

} // namespace
} // namespace keywright
