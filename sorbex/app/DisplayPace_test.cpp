// Tests of the pace at which the run's changing values reach the screen.
#include "app/DisplayPace.h"

#include <gtest/gtest.h>

#include <vector>

namespace sorbex {
namespace {

// A step of the table: a change or a look at the waiting value, at a time, and whether
// the value is shown then.
struct Step {
    enum Kind { Change, Look, Restart } kind;
    std::uint32_t at;
    bool shown;
};

TEST(DisplayPaceTest, ShowsAtMostOncePerIntervalAndNeverLosesTheLast) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"the first change shows at once, the next within the interval waits",
         {{Step::Change, 1000, true}, {Step::Change, 1010, false}, {Step::Look, 1099, false},
          {Step::Look, 1100, true}, {Step::Look, 1300, false}}},
        {"a change after the interval shows at once",
         {{Step::Change, 0, true}, {Step::Change, 100, true}, {Step::Change, 150, false}}},
        {"nothing waiting, nothing due",
         {{Step::Look, 0, false}, {Step::Change, 5, true}, {Step::Look, 500, false}}},
        {"a restart shows the next change at once and drops what waited",
         {{Step::Change, 0, true}, {Step::Change, 10, false}, {Step::Restart, 20, false},
          {Step::Look, 200, false}, {Step::Change, 30, true}}},
        {"the clock's wrap counts as time passing",
         {{Step::Change, 0xFFFFFFF0u, true}, {Step::Change, 0xFFFFFFF8u, false},
          {Step::Look, 0x60u, true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDisplayPace pace(100);
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            const Step& step = c.steps[i];
            switch (step.kind) {
            case Step::Change:
                EXPECT_EQ(step.shown, pace.Changed(step.at));
                break;
            case Step::Look:
                EXPECT_EQ(step.shown, pace.Due(step.at));
                break;
            case Step::Restart:
                pace.Restart();
                EXPECT_FALSE(pace.waiting());
                break;
            }
        }
    }
}

} // namespace
} // namespace sorbex
