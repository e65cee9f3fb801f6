// Tests of walking the results, of showing one, and of the commands' enabling rules.
#include "app/CommandRules.h"

#include <gtest/gtest.h>

#include "app/ResultViewer.h"
#include "app/ResultStepping.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

// Results of files given by name: "aab" is two results of file a, one of file b.
CSearchResultArray Results(const std::string& files) {
    CSearchResultArray results;
    for (char file : files) {
        auto r = std::make_unique<CSearchResult>();
        r->dir = "C:\\d\\";
        r->name = std::string(1, file) + ".txt";
        results.Add(std::move(r));
    }
    return results;
}

TEST(SteppingTest, StepTargets) {
    struct Case {
        const char* files;
        int current;
        CStep step;
        int target; // -1: not possible
    };
    const auto next = CStep::NextResult;
    const auto prev = CStep::PreviousResult;
    const auto nextFile = CStep::NextFile;
    const auto prevFile = CStep::PreviousFile;
    const Case cases[] = {
        {"abc", -1, next, 0},
        {"abc", 1, next, 2},
        {"abc", 2, next, -1},
        {"", -1, next, -1},
        {"abc", 0, prev, -1},
        {"abc", -1, prev, -1},
        {"abc", 2, prev, 1},
        {"aaa", -1, nextFile, 0},
        {"aaa", 0, nextFile, -1},
        {"", -1, nextFile, -1},
        {"aabbc", 0, nextFile, 2},
        {"aabbc", 3, nextFile, 4},
        {"aabbc", 4, nextFile, -1},
        // From the second file's third result to the first result of the first file.
        {"aabbbc", 4, prevFile, 0},
        {"aabbbc", 5, prevFile, 2},
        {"aabbbc", 1, prevFile, -1},
        {"aabbbc", -1, prevFile, -1},
        {"aba", 2, prevFile, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.files << " from " << c.current << " step " << static_cast<int>(c.step));
        const CSearchResultArray results = Results(c.files);
        const std::optional<int> target = StepTarget(results, c.current, c.step);
        EXPECT_EQ(c.target, target.value_or(-1));
    }
    // Files differ by directory as well as by name.
    CSearchResultArray twoDirs = Results("aa");
    twoDirs[1].dir = "C:\\e\\";
    EXPECT_EQ(1, StepTarget(twoDirs, 0, CStep::NextFile).value_or(-1));
}

TEST(CommandRulesTest, PageCommandsWaitForTheRun) {
    const CSearchResultArray results = Results("ab");
    CCommandContext idle;
    idle.definitionPageActive = true;
    idle.pageCount = 3;
    idle.currentPage = 1;
    idle.results = &results;
    idle.cacheOpen = true;
    idle.documentHasPath = true;
    for (CCommand command :
         {CCommand::StartSearching, CCommand::DeletePage, CCommand::RenamePage,
          CCommand::ShiftPageLeft, CCommand::ShiftPageRight, CCommand::CacheReorganize,
          CCommand::CacheDelete, CCommand::FileReorganize, CCommand::FileOpen, CCommand::FileNew}) {
        SCOPED_TRACE(static_cast<int>(command));
        EXPECT_TRUE(IsCommandEnabled(command, idle));
        CCommandContext searching = idle;
        searching.searching = true;
        EXPECT_FALSE(IsCommandEnabled(command, searching));
        CCommandContext replacing = idle;
        replacing.replacing = true;
        EXPECT_FALSE(IsCommandEnabled(command, replacing));
    }
    CCommandContext searching = idle;
    searching.searching = true;
    EXPECT_TRUE(IsCommandEnabled(CCommand::CancelSearching, searching));
    EXPECT_FALSE(IsCommandEnabled(CCommand::CancelSearching, idle));
}

TEST(CommandRulesTest, EachRuleOnItsOwn) {
    const CSearchResultArray results = Results("aab");
    CCommandContext c;
    c.pageCount = 1;
    c.currentPage = 0;
    c.results = &results;
    EXPECT_FALSE(IsCommandEnabled(CCommand::DeletePage, c)) << "one page";
    EXPECT_TRUE(IsCommandEnabled(CCommand::RenamePage, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::ShiftPageLeft, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::ShiftPageRight, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::StartSearching, c)) << "the examples page is active";
    c.pageCount = 2;
    c.currentPage = -1;
    EXPECT_FALSE(IsCommandEnabled(CCommand::DeletePage, c)) << "no page is current";
    EXPECT_FALSE(IsCommandEnabled(CCommand::RenamePage, c));
    c.currentPage = 1;
    EXPECT_TRUE(IsCommandEnabled(CCommand::ShiftPageLeft, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::ShiftPageRight, c));

    EXPECT_TRUE(IsCommandEnabled(CCommand::NextFile, c)) << "no result yet, but results";
    EXPECT_TRUE(IsCommandEnabled(CCommand::NextResult, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::PreviousResult, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::PreviousFile, c));
    c.currentResult = 2;
    EXPECT_FALSE(IsCommandEnabled(CCommand::NextFile, c));
    EXPECT_TRUE(IsCommandEnabled(CCommand::PreviousFile, c));
    c.results = nullptr;
    EXPECT_FALSE(IsCommandEnabled(CCommand::PreviousResult, c)) << "no page";

    EXPECT_FALSE(IsCommandEnabled(CCommand::OpenInRegisteredApplication, c));
    c.fileShown = true;
    EXPECT_TRUE(IsCommandEnabled(CCommand::OpenInRegisteredApplication, c));
    EXPECT_FALSE(IsCommandEnabled(CCommand::CacheDelete, c)) << "no cache";
    EXPECT_FALSE(IsCommandEnabled(CCommand::FileReorganize, c)) << "a document without file";
}

TEST(ShowResultTest, WhatShowingAResultDoes) {
    CSearchResult passage;
    CSearchResult replaced;
    replaced.flags = kResultReplaced;
    CSearchResult directory;
    directory.flags = kResultDirectory;
    struct Case {
        const CSearchResult* result;
        bool replacePage;
        bool dontUseViewer;
        CShowAction action;
    };
    const Case cases[] = {
        {&passage, false, false, CShowAction::ShowInViewer},
        {&passage, false, true, CShowAction::OpenInApplication},
        {&directory, false, false, CShowAction::OpenInApplication},
        {&passage, true, false, CShowAction::StartReplacement},
        {&replaced, true, false, CShowAction::ShowInViewer},
        {&replaced, true, true, CShowAction::OpenInApplication},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(c.action, ShowActionFor(*c.result, c.replacePage, c.dontUseViewer));
    }
    EXPECT_EQ(0u, MessageForOpenResult(33));
    EXPECT_EQ(IDS_EXTENSION_NOT_REGISTERED, MessageForOpenResult(31));
    EXPECT_EQ(0u, MessageForOpenResult(2)) << "other failures show nothing";

    CFileFindDoc page("p");
    page.results = Results("ab");
    CResultPageOnlyViewer viewer;
    EXPECT_EQ("", viewer.ShownFile());
    EXPECT_TRUE(viewer.ShowResult(page, 1));
    EXPECT_EQ("C:\\d\\b.txt", viewer.ShownFile());
    EXPECT_FALSE(viewer.ShowResult(page, 2));
    viewer.Clear();
    EXPECT_EQ("", viewer.ShownFile());
}

// The current result as runs, redraws and the reader's clicks leave it.
TEST(SteppingTest, CurrentResultAfterRunsRedrawsAndClicks) {
    struct Case {
        const char* name;
        CPageEvent event;
        int current, count, chosen;
        int expected;
    };
    const Case cases[] = {
        {"a run starts afresh", CPageEvent::RunStarted, 4, 9, -1, -1},
        {"a search ends with none current", CPageEvent::RunEnded, -1, 20000, -1, -1},
        {"a listing ends with none current", CPageEvent::RunEnded, -1, 3, -1, -1},
        {"a result clicked during the run stays", CPageEvent::RunEnded, 2, 9, -1, 2},
        {"an index beyond the results does not", CPageEvent::RunEnded, 9, 9, -1, -1},
        {"a run that found nothing", CPageEvent::RunEnded, 0, 0, -1, -1},
        {"a page shown again", CPageEvent::PageShown, 5, 9, -1, -1},
        {"a click on a result line", CPageEvent::PositionChosen, -1, 9, 3, 3},
        {"a click on a bar keeps the current one", CPageEvent::PositionChosen, 6, 9, -1, 6},
        {"a position past the results", CPageEvent::PositionChosen, 1, 2, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, CurrentResultAfter(c.event, c.current, c.count, c.chosen));
    }
}

} // namespace
} // namespace sorbex
