// What the progress labels show as a search goes on and ends.
#include "wizard/ProgressLabels.h"

#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(WizardProgress, StateTextOnChangeCountsPerHundredFoundCountsAtTheEnd) {
    ProgressLabels labels;
    auto progress = [](int kind, std::uint32_t keys, std::uint32_t values, std::uint32_t data) {
        SearchProgress p;
        p.kind = kind;
        p.counters.keysVisited = keys;
        p.counters.valuesVisited = values;
        p.counters.dataExamined = data;
        p.counters.keysFound = 1;
        p.counters.valuesFound = 2;
        p.counters.dataFound = 3;
        return p;
    };
    ProgressLabelUpdate u = labels.Update(progress(kSearchStarted, 0, 0, 0));
    EXPECT_EQ(kStrSearching, u.stateText);
    EXPECT_FALSE(u.counts[0] || u.counts[1] || u.counts[2]);
    u = labels.Update(progress(kSearchRunning, 99, 100, 250));
    EXPECT_EQ(kStrSearching, u.stateText); // kind 2 after kind 1
    EXPECT_FALSE(u.counts[0]);
    EXPECT_EQ(100u, *u.counts[1]);
    EXPECT_EQ(200u, *u.counts[2]);
    u = labels.Update(progress(kSearchRunning, 100, 199, 299));
    EXPECT_EQ(0u, u.stateText);
    EXPECT_EQ(100u, *u.counts[0]);
    EXPECT_FALSE(u.counts[1] || u.counts[2]);
    u = labels.Update(progress(kSearchInterrupted, 120, 199, 299));
    EXPECT_EQ(kStrSearchInterrupted, u.stateText);
    EXPECT_EQ(1u, *u.counts[0]);
    EXPECT_EQ(2u, *u.counts[1]);
    EXPECT_EQ(3u, *u.counts[2]);
    labels.Reset();
    u = labels.Update(progress(kSearchRunning, 100, 0, 0));
    EXPECT_EQ(kStrSearching, u.stateText);
    EXPECT_EQ(100u, *u.counts[0]);
}

} // namespace
} // namespace keywright
