// The wizard's state table: entry checks, the screen of each state, pages and the
// state change.
#include "wizard/WizardStates.h"

#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace keywright {
namespace {

TEST(WizardEntry, EachCheckRefusesWithItsMessage) {
    const struct {
        WizardState current, target;
        bool running;
        const char* find;
        const char* replacement;
        unsigned refusal;
    } cases[] = {
        {kStateSearch, kStateDefine, true, "a", "b", kStrStopBeforeBack},
        {kStateSearch, kStateDefine, false, "a", "b", 0},
        {kStateDefine, kStateSearch, false, "", "b", kStrBothTexts},
        {kStateDefine, kStateSearch, false, "a", "", kStrBothTexts},
        {kStateDefine, kStateSearch, false, "same", "same", kStrTextsIdentical},
        // Texts that differ in case only are different texts.
        {kStateDefine, kStateSearch, false, "Same", "same", 0},
        {kStateReview, kStateSearch, false, "a", "b", 0},
        {kStateSearch, kStateReview, true, "a", "b", kStrStopBeforeNext},
        {kStateSearch, kStateReview, false, "a", "b", 0},
        {kStateReady, kStateReview, false, "a", "b", 0},
        {kStateApplied, kStateReview, false, "a", "b", kStrNoWayBack},
        {kStateUndone, kStateReview, false, "a", "b", kStrNoWayBack},
        {kStateReview, kStateReady, true, "", "", 0},
        {kStateReady, kStateApplied, true, "", "", 0},
        {kStateApplied, kStateUndone, true, "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.current) + " -> " + std::to_string(c.target) + " " +
                     c.find + "/" + c.replacement);
        EXPECT_EQ(c.refusal,
                  EntryRefusal(c.current, c.target, EntryFacts{c.running, c.find, c.replacement}));
        if (c.refusal) {
            EXPECT_NE(nullptr, KeywrightString(c.refusal));
        }
    }
}

TEST(WizardScreens, ButtonsTitlesFocusAndTicksPerState) {
    using B = ButtonSetting;
    const struct {
        WizardState state;
        bool back, next;
        ButtonSetting apply, undo;
        const char* close; // null: unchanged
        const char* title;
        WizardFocus focus;
        bool ticks[4];
    } cases[] = {
        {kStateDefine, false, true, B::Unchanged, B::Unchanged, nullptr,
         "Registry Replacement Wizard - Step 1", WizardFocus::Next, {false, false, false, false}},
        {kStateSearch, true, true, B::Unchanged, B::Unchanged, "&Cancel",
         "Registry Replacement Wizard - Step 2", WizardFocus::Next, {true, false, false, false}},
        {kStateReview, true, true, B::Unchanged, B::Unchanged, "&Cancel",
         "Registry Replacement Wizard - Step 3", WizardFocus::Next, {true, true, false, false}},
        {kStateReady, true, false, B::Enabled, B::Disabled, nullptr,
         "Registry Replacement Wizard - Step 4", WizardFocus::Close, {true, true, true, false}},
        {kStateApplied, false, false, B::Disabled, B::Enabled, "&Done",
         "Registry Replacement Wizard - Step 4", WizardFocus::Close, {true, true, true, true}},
        {kStateUndone, false, false, B::Enabled, B::Disabled, "&Done",
         "Registry Replacement Wizard - Step 4", WizardFocus::Close, {true, true, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        WizardScreen s = ScreenOf(c.state);
        EXPECT_EQ(c.back, s.backEnabled);
        EXPECT_EQ(c.next, s.nextEnabled);
        EXPECT_EQ(c.apply, s.apply);
        EXPECT_EQ(c.undo, s.undo);
        if (c.close) {
            EXPECT_STREQ(c.close, KeywrightString(s.closeText));
        } else {
            EXPECT_EQ(0u, s.closeText);
        }
        EXPECT_STREQ(c.title, KeywrightString(s.title));
        EXPECT_EQ(c.focus, s.focus);
        for (int box = 0; box < 4; ++box)
            EXPECT_EQ(c.ticks[box], s.stepTicked[box]) << "box " << box + 1;
    }
}

TEST(WizardScreens, StepTextsKeepTheirLineBreaks) {
    const struct {
        WizardState state;
        const char* begins;
        const char* ends;
    } cases[] = {
        {kStateDefine, "This replacement wizard guides you through a\r\nsimple four",
         "you can get \r\ncontext sensitive help on the fields by clicking\r\non the question "
         "mark in the title bar of this\r\nwizard. In the first step, you define your\r\nsearch."},
        {kStateSearch, "During step 2", "any time by clicking the Stop button."},
        {kStateReview, "During step 3", "version for your review."},
        {kStateReady, "During the final step", "button to undo them."},
        {kStateApplied, "You have applied", "press Undo to undo them."},
        {kStateUndone, "Your changes have been undone.  At this\r\n",
         "to start another set of replacements.\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        std::string text = KeywrightString(ScreenOf(c.state).stepText);
        EXPECT_EQ(0u, text.find(c.begins));
        std::string end = c.ends;
        ASSERT_GE(text.size(), end.size());
        EXPECT_EQ(end, text.substr(text.size() - end.size()));
    }
}

TEST(WizardPages, EachControlShowsOnItsPagesOnly) {
    // Pages: 1, 2, 3 and the page of states 4 to 6.
    const struct {
        WizardControl control;
        bool on[6];
    } cases[] = {
        {kCtlFind, {true, false, false, false, false, false}},
        {kCtlHkdd, {true, false, false, false, false, false}},
        {kCtlList, {false, true, true, true, true, true}},
        {kCtlStop, {false, true, false, false, false, false}},
        {kCtlSearchState, {false, true, false, false, false, false}},
        {kCtlRemove, {false, false, true, false, false, false}},
        {kCtlDetail, {false, false, true, false, false, false}},
        {kCtlApply, {false, false, false, true, true, true}},
        {kCtlUndo, {false, false, false, true, true, true}},
        {kCtlNext, {false, false, false, false, false, false}},
        {kCtlInfo, {false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        for (int state = kStateDefine; state <= kStateUndone; ++state)
            EXPECT_EQ(c.on[state - 1], OnPage(c.control, static_cast<WizardState>(state)))
                << "state " << state;
    }
    // Every control below the fixed ones lies on some page.
    for (int control = 0; control < kFirstFixedControl; ++control) {
        bool somewhere = false;
        for (int state = kStateDefine; state <= kStateUndone; ++state)
            somewhere |= OnPage(static_cast<WizardControl>(control), static_cast<WizardState>(state));
        EXPECT_TRUE(somewhere) << "control " << control;
    }
}

TEST(WizardPages, EveryControlButTheDividersHasHelp) {
    for (int control = 0; control < kWizardControlCount; ++control) {
        SCOPED_TRACE(control);
        unsigned help = HelpTextOf(static_cast<WizardControl>(control));
        if (control == kCtlUpperDivider || control == kCtlLowerDivider) {
            EXPECT_EQ(0u, help);
            continue;
        }
        ASSERT_NE(0u, help);
        ASSERT_NE(nullptr, KeywrightString(help));
        EXPECT_GT(std::string(KeywrightString(help)).size(), 10u);
    }
}

TEST(WizardMachine, NextAndBackLeadOneStepAndRefusalsKeepTheState) {
    WizardMachine m;
    std::vector<std::string> trace;
    m.SetTrace([&trace](const std::string& line) { trace.push_back(line); });
    const EntryFacts ok{false, "old", "new"};
    EXPECT_EQ(kStateDefine, m.state());
    EXPECT_FALSE(m.BackTarget());
    EXPECT_EQ(kStrBothTexts, m.ChangeState(*m.NextTarget(), EntryFacts{false, "old", ""}));
    EXPECT_EQ(kStateDefine, m.state());
    EXPECT_EQ(0u, m.ChangeState(*m.NextTarget(), ok));
    EXPECT_EQ(kStateSearch, m.state());
    EXPECT_EQ(kStrStopBeforeNext, m.ChangeState(*m.NextTarget(), EntryFacts{true, "old", "new"}));
    EXPECT_EQ(0u, m.ChangeState(*m.NextTarget(), ok));
    EXPECT_EQ(0u, m.ChangeState(*m.NextTarget(), ok));
    EXPECT_EQ(kStateReady, m.state());
    EXPECT_FALSE(m.NextTarget());
    EXPECT_EQ(kStateReview, *m.BackTarget());
    EXPECT_EQ(0u, m.ChangeState(kStateApplied, ok));
    EXPECT_FALSE(m.BackTarget());
    EXPECT_FALSE(m.NextTarget());
    EXPECT_EQ(kStrNoWayBack, m.ChangeState(kStateReview, ok));
    EXPECT_EQ(kStateApplied, m.state());
    ASSERT_EQ(7u, trace.size());
    EXPECT_EQ("wizard: define -> search refused (2150)", trace[0]);
    EXPECT_EQ("wizard: applied -> review refused (2152)", trace[6]);
}

TEST(WizardMachine, AnApplyThatStoppedCountsAsAppliedOnlyWhenSomethingCanBeUndone) {
    EXPECT_EQ(kStateApplied, StateAfterApply(kStateReady, false, false));
    EXPECT_EQ(kStateApplied, StateAfterApply(kStateReady, true, true));
    EXPECT_EQ(kStateReady, StateAfterApply(kStateReady, true, false));
    EXPECT_EQ(kStateUndone, StateAfterApply(kStateUndone, true, false));
    EXPECT_EQ(kStateApplied, StateAfterApply(kStateUndone, false, true));
}

TEST(WizardProgress, StateTextOnChangeCountsPerHundredPlainNumbersFoundCountsAtTheEnd) {
    SearchStatusView labels(kPlainCountFormats);
    auto progress = [](int kind, std::uint32_t keys, std::uint32_t values, std::uint32_t data) {
        SearchProgress p;
        p.kind = kind;
        p.counters.keysVisited = keys;
        p.counters.valuesVisited = values;
        p.counters.dataExamined = data;
        p.counters.keysFound = 1;
        p.counters.valuesFound = 2;
        p.counters.dataFound = 31;
        return p;
    };
    const std::optional<std::string> same;
    EXPECT_EQ((StatusTexts{"Searching...", same, same, same}),
              labels.Show(progress(kSearchStarted, 0, 0, 0)));
    // A new kind rewrites the state text, even where the text stays the same.
    EXPECT_EQ((StatusTexts{"Searching...", same, "100", "200"}),
              labels.Show(progress(kSearchRunning, 99, 100, 250)));
    EXPECT_EQ((StatusTexts{same, "100", same, same}),
              labels.Show(progress(kSearchRunning, 100, 199, 299)));
    EXPECT_EQ((StatusTexts{"Search Interrupted", "1", "2", "31"}),
              labels.Show(progress(kSearchInterrupted, 120, 199, 299)));
    labels.Reset();
    EXPECT_EQ((StatusTexts{"Searching...", "100", same, same}),
              labels.Show(progress(kSearchRunning, 100, 0, 0)));
}

} // namespace
} // namespace keywright
