// Tests of the table that tells a bar only the command states that changed.
#include "app/CommandStates.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace sorbex {
namespace {

using Sent = std::vector<std::pair<int, bool>>;

// A toolbar's Start and Stop and a page command, as a window binds them.
CCommandStates Bar() {
    return CCommandStates({{1, CCommand::StartSearching},
                           {2, CCommand::CancelSearching},
                           {3, CCommand::RenamePage}});
}

CCommandContext Idle() {
    CCommandContext context;
    context.definitionPageActive = true;
    context.pageCount = 1;
    context.currentPage = 0;
    return context;
}

CCommandContext Searching() {
    CCommandContext context = Idle();
    context.searching = true;
    return context;
}

TEST(CommandStatesTest, SendsAStateOnceAndThenOnlyItsChanges) {
    struct Step {
        const char* name;
        CCommandContext context;
        Sent sent;
    };
    const std::vector<Step> steps = {
        {"the first update gives every control its state", Idle(),
         {{1, true}, {2, false}, {3, true}}},
        {"the same states again send nothing", Idle(), {}},
        {"a run starts: the three change", Searching(), {{1, false}, {2, true}, {3, false}}},
        {"updates during the run send nothing", Searching(), {}},
        {"the run ends: the three change back", Idle(), {{1, true}, {2, false}, {3, true}}},
        {"a change of one rule's input sends that control alone",
         [] {
             CCommandContext c = Idle();
             c.definitionPageActive = false;
             return c;
         }(),
         {{1, false}}},
    };
    CCommandStates states = Bar();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        Sent sent;
        states.Update(step.context, [&sent](int id, bool enabled) { sent.emplace_back(id, enabled); });
        EXPECT_EQ(sent, step.sent);
    }
}

} // namespace
} // namespace sorbex
