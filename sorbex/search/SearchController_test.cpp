// Tests of the search run over scratch trees, with a user interface that records.
#include "search/SearchController.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/testing/FaultyFileSystem.h"
#include "search/SearchTestBed.h"

namespace sorbex {
namespace {

class SearchControllerTest : public ::testing::Test, protected CSearchTestBed {
protected:
    SearchControllerTest() {
        // Names that are their own short names, written as Windows recases them.
        tree.Write("A.txt", "a colour, a grey colour\n");
        tree.Write("B.txt", "search and then replace\r\n");
        tree.Write("C.log", "grey only\n");
        tree.Write("Sub/D.txt", "no colours here? colour!\n");
        tree.Write("Sub/E.c", "int colour;\n");
    }

    CSearchRequest Request(const std::string& expression, const std::string& mask = "*") const {
        CSearchRequest request;
        request.expression = expression;
        request.fileMask = mask;
        request.directory = tree.root();
        request.useInternalFilter = false;
        request.useExternalFilter = 0;
        return request;
    }

    // "relative/dir|name|flags|start-end" for each result of the current page.
    std::vector<std::string> Results() {
        std::vector<std::string> out;
        CFileFindDoc* page = document.CurrentPage();
        if (!page)
            return out;
        for (std::size_t i = 0; i < page->results.size(); ++i) {
            const CSearchResult& r = page->results[i];
            std::string dir = r.dir.substr(tree.root().size());
            for (char& c : dir)
                if (c == kestrix::kPathSeparator)
                    c = '/';
            out.push_back(dir + "|" + r.name + "|" + std::to_string(r.flags) + "|" +
                          std::to_string(r.start) + "-" + std::to_string(r.end) + "|" +
                          std::to_string(r.passageCount));
        }
        return out;
    }
};

TEST_F(SearchControllerTest, RecordsPassagesFileByFileWithCounters) {
    const CRunOutcome outcome = run.StartSearching(Request("colour", "*.txt"));
    EXPECT_TRUE(outcome.success);
    EXPECT_EQ((std::vector<std::string>{"|A.txt|2|2-8|2", "|A.txt|0|17-23|2", "Sub/|D.txt|2|3-9|2",
                                        "Sub/|D.txt|0|17-23|2"}),
              Results());
    // The walk of a search leaves sizes and times out; the result lines still show them.
    EXPECT_EQ((std::vector<std::string>{"A.txt 24 dated", "A.txt 24 dated", "D.txt 25 dated",
                                        "D.txt 25 dated"}),
              ui.shownFiles);
    EXPECT_EQ(2, ui.counters.filesWithPassages);
    EXPECT_EQ(3, ui.counters.found);
    EXPECT_EQ(5, ui.counters.total);
    EXPECT_EQ(4, ui.counters.passages);
    EXPECT_FALSE(ui.counters.listing);
    EXPECT_EQ(3, ui.lastProgress);
    EXPECT_EQ((std::vector<std::string>{"Searching terminated normally (0.00 seconds)."}),
              ui.closingLines);
    EXPECT_EQ(
        (std::vector<std::string>{"fold", "open colour", "progress 0/3", "progress off", "beep"}),
        ui.events);
    EXPECT_FALSE(run.flags().searching);
}

TEST_F(SearchControllerTest, ReusesThePageOnlyForTheSameSearch) {
    struct Step {
        const char* what;
        CSearchRequest request;
        std::size_t pages;
        std::string caption;
    };
    CSearchRequest replace = Request("colour");
    replace.replaceMode = true;
    replace.replaceString = "color";
    CSearchRequest otherReplacement = replace;
    otherReplacement.replaceString = "hue";
    CSearchRequest otherMask = Request("colour", "*.c");
    const Step steps[] = {
        {"first search", Request("colour"), 1, "colour"},
        {"same again", Request("colour"), 1, "colour"},
        {"other mask", otherMask, 2, "colour"},
        {"listing", Request("", "*.c"), 3, "*.c"},
        {"replace mode", replace, 4, "colour"},
        {"same replacement", replace, 4, "colour"},
        {"other replacement text", otherReplacement, 5, "colour"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        run.StartSearching(step.request);
        EXPECT_EQ(step.pages, document.size());
        ASSERT_NE(nullptr, document.CurrentPage());
        EXPECT_EQ(step.caption, document.CurrentPage()->caption);
        EXPECT_TRUE(document.CurrentPage()->request.IsSameSearch(step.request));
        EXPECT_EQ(1u, ui.closingLines.size()) << "a reused page starts empty";
    }
}

TEST_F(SearchControllerTest, ListsFilesAndMatchingDirectories) {
    struct Case {
        const char* mask;
        bool withSubDirectories;
        std::vector<std::string> results;
        int found;
        int total;
    };
    const Case cases[] = {
        {"*",
         1,
         {"|Sub|6|0-0|1", "|A.txt|0|0-0|1", "|B.txt|0|0-0|1", "|C.log|0|0-0|1",
          "Sub/|D.txt|2|0-0|1", "Sub/|E.c|0|0-0|1"},
         6,
         5},
        {"*", 0, {"|A.txt|2|0-0|1", "|B.txt|0|0-0|1", "|C.log|0|0-0|1"}, 3, 3},
        {"*.c | *.log", 1, {"|C.log|2|0-0|1", "Sub/|E.c|2|0-0|1"}, 2, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mask) + (c.withSubDirectories ? " with" : " without"));
        CSearchRequest request = Request("", c.mask);
        request.withSubDirectories = c.withSubDirectories;
        EXPECT_TRUE(run.StartSearching(request).success);
        EXPECT_EQ(c.results, Results());
        for (const std::string& shown : ui.shownFiles)
            EXPECT_NE(std::string::npos, shown.find(" dated")) << shown;
        ui.shownFiles.clear();
        EXPECT_TRUE(ui.counters.listing);
        EXPECT_EQ(c.found, ui.counters.found);
        EXPECT_EQ(c.total, ui.counters.total);
        ASSERT_EQ(1u, ui.closingLines.size());
        EXPECT_EQ("Searching terminated normally (0.00 seconds).", ui.closingLines[0]);
    }
}

TEST_F(SearchControllerTest, ClosingLinesAndWhenTheBarUnfolds) {
    struct Case {
        const char* what;
        std::string expression;
        std::string mask;
        const char* closing;
        bool success;
        bool unfolds;
    };
    const Case cases[] = {
        {"no passage", "purple", "*",
         "There were no passages found, which match the given "
         "search expression.",
         true, true},
        {"no file", "colour", "*.doc", "There were no files found which match the given file name.",
         false, true},
        {"found", "grey", "*", "Searching terminated normally (1.50 seconds).", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.events.clear();
        clock.now = 4000;
        ui.onAppend = [&](const CSearchResult&) { clock.now += 750; };
        EXPECT_EQ(c.success, run.StartSearching(Request(c.expression, c.mask)).success);
        EXPECT_EQ((std::vector<std::string>{c.closing}), ui.closingLines);
        EXPECT_EQ(c.unfolds, ui.events.back() == "unfold");
        EXPECT_FALSE(run.flags().searching);
    }
}

TEST_F(SearchControllerTest, CancelAfterAFileKeepsItsResults) {
    ui.onAppend = [&](const CSearchResult&) { ui.fileList.cancelled = true; };
    const CRunOutcome outcome = run.StartSearching(Request("colour", "*.txt"));
    EXPECT_TRUE(outcome.success);
    EXPECT_EQ((std::vector<std::string>{"|A.txt|2|2-8|2", "|A.txt|0|17-23|2"}), Results());
    EXPECT_EQ((std::vector<std::string>{"SEARCHING CANCELED (0.00 seconds)."}), ui.closingLines);
    EXPECT_EQ(1, ui.counters.filesWithPassages);
    EXPECT_EQ(2, ui.counters.passages);
}

TEST_F(SearchControllerTest, CancelDuringTheWalkLeavesOnlyTheClosingLine) {
    ui.fileList.cancelAtPump = 1;
    clock.stepPerReading = 20;
    EXPECT_FALSE(run.StartSearching(Request("colour")).success);
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ((std::vector<std::string>{"SEARCHING CANCELED (0.02 seconds)."}), ui.closingLines);
    EXPECT_FALSE(run.flags().searching);
}

TEST_F(SearchControllerTest, QuitEndsTheRunAsCancelledAndStopsTheReplacement) {
    int replacements = 0;
    run.startReplacement = [&](CFileFindDoc&, std::size_t) { ++replacements; };
    CSearchRequest replace = Request("colour", "*.txt");
    replace.replaceMode = true;
    ui.onAppend = [&](const CSearchResult&) { ui.quitAtNextPump = true; };
    run.StartSearching(replace);
    EXPECT_TRUE(run.flags().quitRequested);
    EXPECT_TRUE(run.flags().cancelRequested);
    EXPECT_EQ(0, replacements);
    EXPECT_FALSE(run.flags().replacing);

    ui.onAppend = nullptr;
    run.StartSearching(replace);
    EXPECT_FALSE(run.flags().quitRequested) << "a new replacement forgets the old quit";
    EXPECT_EQ(1, replacements);
}

TEST_F(SearchControllerTest, ReplaceTagBeyondTheGroupsStopsBeforeAnyDirectory) {
    CSearchRequest request = Request("(colour) & (grey)");
    request.replaceMode = true;
    request.replaceTag = 3;
    EXPECT_FALSE(run.StartSearching(request).success);
    EXPECT_EQ((std::vector<std::string>{
                  "Error in search expression:\nYou want to replace the subexpression 3, but the "
                  "search expression contains only 2 subexpressions."}),
              ui.fileList.errors);
    EXPECT_TRUE(ui.fileList.statusTexts.empty());
    EXPECT_EQ(0u, document.size());

    request.replaceMode = false; // a search shows every passage whatever the tag
    EXPECT_TRUE(run.StartSearching(request).success);
}

TEST_F(SearchControllerTest, ExpressionAndDirectoryErrorsTouchNoPage) {
    CSearchRequest bad = Request("a&");
    EXPECT_FALSE(run.StartSearching(bad).success);
    ASSERT_EQ(1u, ui.fileList.errors.size());
    EXPECT_EQ(0u, ui.fileList.errors[0].find("Error in search expression:\n"));

    CSearchRequest missing = Request("colour");
    missing.directory = tree.Path("none");
    EXPECT_FALSE(run.StartSearching(missing).success);
    EXPECT_EQ("The directory name is invalid.", ui.fileList.errors.back());
    EXPECT_EQ(0u, document.size());
    EXPECT_EQ((std::vector<std::string>{"unfold", "unfold"}), ui.events);
}

TEST_F(SearchControllerTest, InvertedListRecordsFilesOnlyWhenSearching) {
    CSearchRequest request = Request("!colour", "*.txt | *.log");
    run.StartSearching(request);
    EXPECT_EQ((std::vector<std::string>{"|B.txt|2|0-0|1", "|C.log|2|0-0|1"}), Results());
    EXPECT_EQ(2, ui.counters.passages);

    request.replaceMode = true;
    run.StartSearching(request);
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ("There were no passages found, which match the given search expression.",
              ui.closingLines.at(0));
}

TEST_F(SearchControllerTest, RefreshesOftenWhileThePageIsSmallAndRarelyAfterwards) {
    // Files a, b, d and f in this order; b and f hold no passage, d holds two.
    tree.Write("Sub/F.txt", "nothing\n");
    struct Case {
        int passagesInA;
        std::uint32_t msPerResult;
        std::vector<std::string> refreshes; // results on the page @ progress
    };
    const Case cases[] = {
        {2, 0, {"4@4"}},              // no time passes: only the one at the end
        {2, 100, {"4@3"}},            // 400 ms since the start by d
        {2, 200, {"2@1", "4@3"}},     // 400 ms in a, 400 ms in d
        {60, 100, {"60@1", "62@4"}},  // more than 50: 200 ms in d is not enough
        {60, 2000, {"60@1", "62@4"}}, // 4 s in d is still not more than 4 s
        {60, 3000, {"60@1", "62@3"}}, // 6 s in d
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.passagesInA) + " passages, " + std::to_string(c.msPerResult) +
                     " ms each");
        std::string text;
        for (int i = 0; i < c.passagesInA; ++i)
            text += "colour ";
        tree.Write("A.txt", text);
        ui.refreshes.clear();
        ui.onAppend = [&](const CSearchResult&) { clock.now += c.msPerResult; };
        run.StartSearching(Request("colour", "*.txt"));
        EXPECT_EQ(c.refreshes, ui.refreshes);
    }
}

TEST_F(SearchControllerTest, TimingAcrossTheTickCountWrapping) {
    clock.now = 0xFFFFFC18u; // one second before the wrap
    ui.onAppend = [&](const CSearchResult&) { clock.now += 1000; };
    run.StartSearching(Request("", "*.txt"));
    EXPECT_EQ((std::vector<std::string>{"Searching terminated normally (3.00 seconds)."}),
              ui.closingLines);
}

TEST_F(SearchControllerTest, NoPageWindowEndsTheRunQuietly) {
    ui.canOpenPages = false;
    EXPECT_FALSE(run.StartSearching(Request("colour")).success);
    EXPECT_EQ(0u, document.size());
    EXPECT_TRUE(ui.fileList.errors.empty());
    EXPECT_FALSE(run.flags().searching);
}

// Issue 21: the library stuck in one line of one file (a back-reference under nested
// repetitions) froze the run beyond Esc. The run now gives the evaluation up at the next
// pump, and the next search is untouched by the work still going on.
TEST_F(SearchControllerTest, CancelWhileTheLibraryIsStuckEndsTheRunAndSparesTheNext) {
    std::string slow;
    for (int line = 0; line < 1000; ++line)
        slow += std::string(60, 'a') + " c\n";
    tree.Write("Slow.txt", slow);
    run.SetPumpInterval(std::chrono::milliseconds(5));
    int pumpsInSlow = 0;
    ui.fileList.onPump = [&] {
        const std::vector<std::string>& shown = ui.fileList.statusTexts;
        const std::string tail = "Slow.txt";
        if (!shown.empty() && shown.back().size() >= tail.size() &&
            shown.back().compare(shown.back().size() - tail.size(), tail.size(), tail) == 0 &&
            ++pumpsInSlow == 3) // past the file's own two pumps: waiting for the evaluation
            ui.fileList.cancelled = true;
    };
    run.StartSearching(Request("(a*)*\\1c", "Slow.txt"));
    EXPECT_EQ(3, pumpsInSlow);
    EXPECT_TRUE(Results().empty());
    ASSERT_EQ(1u, ui.closingLines.size());
    EXPECT_EQ(0u, ui.closingLines[0].find("SEARCHING CANCELED ("));
    EXPECT_FALSE(run.flags().searching);

    ui.fileList.onPump = nullptr;
    ui.fileList.cancelled = false;
    ui.closingLines.clear();
    run.StartSearching(Request("grey", "*.txt | *.log"));
    EXPECT_EQ((std::vector<std::string>{"|A.txt|2|12-16|1", "|C.log|2|0-4|1"}), Results());
    EXPECT_EQ((std::vector<std::string>{"Searching terminated normally (0.00 seconds)."}),
              ui.closingLines);
}

// Issue 21: files and folders that could not be searched were passed over without a word.
TEST_F(SearchControllerTest, ReportsWhatItCouldNotSearch) {
    kestrix::FaultyFileSystem faulty(*fs);
    faulty.failRead[tree.Path("B.txt")] = kestrix::FileFailure::Locked;
    faulty.failList[tree.Path("Sub/")] = kestrix::FileFailure::AccessDenied;
    CSearchController faultyRun(faulty, clock, ui, document);
    faultyRun.StartSearching(Request("colour|search"));
    EXPECT_EQ((std::vector<std::string>{"|A.txt|2|2-8|2", "|A.txt|0|17-23|2"}), Results());
    const std::string locked = kestrix::OsErrorText(kestrix::NativeCodeFor(kestrix::FileFailure::Locked));
    const std::string denied =
        kestrix::OsErrorText(kestrix::NativeCodeFor(kestrix::FileFailure::AccessDenied));
    EXPECT_EQ((std::vector<std::string>{
                  tree.Path("Sub/") + ": The directory \"" + tree.Path("Sub/") +
                      "\" could not be listed: " + denied,
                  tree.Path("B.txt") + ": The file \"" + tree.Path("B.txt") +
                      "\" could not be read: " + locked}),
              ui.fileList.skipped);
    EXPECT_EQ(2, ui.counters.skipped);
}

#ifndef _WIN32
// A file too long for 32-bit passage offsets was read, then dropped as if it held nothing.
TEST_F(SearchControllerTest, AFileTooLargeForTheOffsetsIsReportedUnread) {
    tree.Write("Huge.txt", "colour");
    // Sparse: three gigabytes that take no room on the disk.
    ASSERT_EQ(0, ::truncate(tree.Path("Huge.txt").c_str(), 3LL << 30));
    kestrix::FaultyFileSystem counting(*fs);
    CSearchController countingRun(counting, clock, ui, document);
    countingRun.StartSearching(Request("colour", "Huge.txt"));
    EXPECT_EQ(0, counting.readCalls);
    EXPECT_TRUE(Results().empty());
    EXPECT_EQ((std::vector<std::string>{tree.Path("Huge.txt") + ": The file \"" +
                                        tree.Path("Huge.txt") + "\" is too large to be searched."}),
              ui.fileList.skipped);
}

// Wine shows a Unix link to a folder as a plain folder; a link to a folder above it
// made the walk go round until the path grew too long.
TEST_F(SearchControllerTest, AFolderThatLeadsBackUpIsNotEntered) {
    ASSERT_EQ(0, ::symlink("..", tree.Path("Sub/Back").c_str()));
    kestrix::FaultyFileSystem wine(*fs);
    wine.linksAsFolders = true;
    CSearchController wineRun(wine, clock, ui, document);
    wineRun.StartSearching(Request("colour", "*.txt"));
    EXPECT_EQ((std::vector<std::string>{"|A.txt|2|2-8|2", "|A.txt|0|17-23|2", "Sub/|D.txt|2|3-9|2",
                                        "Sub/|D.txt|0|17-23|2"}),
              Results());
    EXPECT_EQ((std::vector<std::string>{tree.Path("Sub/Back/") + ": The directory \"" +
                                        tree.Path("Sub/Back/") + "\" was not entered: it leads "
                                        "back to \"" + tree.root() + "\"."}),
              ui.fileList.skipped);
}
#endif

} // namespace
} // namespace sorbex
