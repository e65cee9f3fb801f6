// The search window's progress rules on a manual clock: when the worker posts, and which
// status-bar parts change to which text as counts pass their hundreds.
#include "registry/SearchStatus.h"

#include "platform/testing/ManualClock.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(ProgressThrottle, PostsOnAKindChangeOrAfterTheIntervalButNeverTwiceUntilTaken) {
    kestrix::ManualClock clock;
    ProgressThrottle throttle(clock);
    const struct {
        std::uint32_t at;
        int kind;
        bool takenBefore;
        bool posts;
    } steps[] = {
        {0, kSearchStarted, false, true},
        {10, kSearchRunning, false, false},  // the started one still waits
        {20, kSearchRunning, true, true},    // taken: a new kind goes at once
        {119, kSearchRunning, true, false},  // same kind within the interval
        {120, kSearchRunning, false, true},  // the interval has passed
        {500, kSearchRunning, false, false}, // not taken yet
        {501, kSearchCompleted, true, true}, // the end goes at once
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.at);
        clock.now = s.at;
        if (s.takenBefore)
            throttle.Taken();
        EXPECT_EQ(s.posts, throttle.ShouldPost(s.kind));
    }
    // The tick count wraps after 49 days; differences still measure the interval.
    throttle.Reset();
    clock.now = 0xFFFFFFF0u;
    EXPECT_TRUE(throttle.ShouldPost(kSearchRunning));
    throttle.Taken();
    clock.now = 0x10;
    EXPECT_FALSE(throttle.ShouldPost(kSearchRunning));
    clock.now = 0x60;
    EXPECT_TRUE(throttle.ShouldPost(kSearchRunning));
}

SearchProgress Progress(int kind, std::uint32_t keys, std::uint32_t values, std::uint32_t data) {
    SearchProgress p;
    p.kind = kind;
    p.counters.keysVisited = keys;
    p.counters.valuesVisited = values;
    p.counters.dataExamined = data;
    p.counters.keysFound = keys / 10;
    p.counters.valuesFound = values / 10;
    p.counters.dataFound = data / 10;
    return p;
}

TEST(SearchStatusView, RewritesAPartOnlyAsItsCountPassesAnotherHundred) {
    SearchStatusView view;
    const std::optional<std::string> same;
    const struct {
        SearchProgress progress;
        StatusTexts texts;
    } steps[] = {
        {Progress(kSearchStarted, 0, 0, 0), {"Searching...", same, same, same}},
        // Running is the next kind; its state text is the same, written once more.
        {Progress(kSearchRunning, 99, 40, 0), {"Searching...", same, same, same}},
        {Progress(kSearchRunning, 100, 40, 0), {same, "Keys : 100", same, same}},
        {Progress(kSearchRunning, 199, 250, 0), {same, same, "Values : 200", same}},
        {Progress(kSearchRunning, 420, 260, 100),
         {same, "Keys : 400", same, "Data : 100"}},
        {Progress(kSearchCompleted, 430, 270, 110),
         {"Search Completed", "43 Keys Found", "27 Values Found", "11 Data Found"}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.progress.counters.keysVisited);
        EXPECT_EQ(s.texts, view.Show(s.progress));
    }
    // A new search shows its first hundreds again.
    view.Reset();
    EXPECT_EQ((StatusTexts{"Searching...", "Keys : 100", same, same}),
              view.Show(Progress(kSearchRunning, 150, 0, 0)));
    EXPECT_EQ("Search Interrupted", view.Show(Progress(kSearchInterrupted, 0, 0, 0))[0]);
}

} // namespace
} // namespace keywright
