// Back and Forward: button states, truncation of Forward by a new visit, and the
// selections that the history itself causes.
#include "host/NavigationHistory.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

// Back or Forward as the host does it: the navigation ends in a selection that the
// tree reports like any other, and that must not be recorded.
std::string Follow(NavigationHistory& h, std::optional<std::string> target) {
    if (target)
        RecordSelection(h, *target);
    return target.value_or("(none)");
}

// The history after the user selected A, B and C in turn.
NavigationHistory VisitedABC() {
    NavigationHistory h;
    for (const char* p : {"A", "B", "C"})
        RecordSelection(h, p);
    return h;
}

TEST(NavigationHistory, WalksBackAndForthWithButtonStates) {
    NavigationHistory h;
    EXPECT_EQ("(none)", Follow(h, GoBack(h))); // right after start-up
    RecordSelection(h, "A");
    EXPECT_FALSE(CanGoBack(h)); // never back to before the first selection
    RecordSelection(h, "B");
    RecordSelection(h, "C");
    struct Step {
        bool back;
        const char* target;
        bool canBack, canForward;
    } steps[] = {
        {false, "(none)", true, false}, {true, "B", true, true},  {true, "A", false, true},
        {true, "(none)", false, true},  {false, "B", true, true}, {false, "C", true, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.back ? "back to " : "forward to ") + s.target);
        EXPECT_EQ(s.target, Follow(h, s.back ? GoBack(h) : GoForward(h)));
        EXPECT_EQ(s.canBack, CanGoBack(h));
        EXPECT_EQ(s.canForward, CanGoForward(h));
    }
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), h.paths);
}

TEST(NavigationHistory, BackThenANewVisitDropsForward) {
    NavigationHistory h = VisitedABC();
    Follow(h, GoBack(h));
    Follow(h, GoBack(h));
    RecordSelection(h, "D");
    EXPECT_EQ((std::vector<std::string>{"A", "D"}), h.paths);
    EXPECT_FALSE(CanGoForward(h));
    EXPECT_TRUE(CanGoBack(h));
    EXPECT_EQ(2u, h.current);
}

TEST(NavigationHistory, ANavigationThatSelectsNothingDoesNotSwallowTheNextSelection) {
    NavigationHistory h = VisitedABC();
    // Back to B, but the key is gone: no selection follows, the navigation just ends.
    ASSERT_EQ("B", GoBack(h).value_or(""));
    EndNavigation(h, h.navigation);
    RecordSelection(h, "D");
    EXPECT_EQ((std::vector<std::string>{"A", "B", "D"}), h.paths);
    EXPECT_FALSE(CanGoForward(h));
}

TEST(NavigationHistory, TheEndOfAnEarlierNavigationLeavesALaterOnesFlag) {
    NavigationHistory h = VisitedABC();
    ASSERT_TRUE(GoBack(h));
    unsigned first = h.navigation;
    RecordSelection(h, "B"); // the first navigation's selection
    ASSERT_TRUE(GoBack(h));
    EndNavigation(h, first); // arrives while the second is still under way
    RecordSelection(h, "A"); // the second navigation's selection
    EndNavigation(h, h.navigation);
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), h.paths);
    EXPECT_EQ(1u, h.current);
    RecordSelection(h, "E");
    EXPECT_EQ((std::vector<std::string>{"A", "E"}), h.paths);
}

} // namespace
} // namespace keywright
