// Tests of the result page's view model over a control that holds plain text: batches,
// stored positions, counters and the re-rendering of a page.
#include "app/ResultPageView.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/PlainPageSurface.h"

namespace sorbex {
namespace {

std::unique_ptr<CSearchResult> Passage(const std::string& name, const std::string& excerpt,
                                       int from, int to, bool first) {
    auto r = std::make_unique<CSearchResult>();
    r->dir = "C:\\d\\";
    r->name = name;
    r->excerpt = excerpt;
    r->excerptStart = from;
    r->excerptEnd = to;
    r->start = 100 + from;
    r->end = 100 + to;
    r->flags = first ? kResultFirstOfFile : 0;
    return r;
}

class ResultPageViewTest : public ::testing::Test {
protected:
    ResultPageViewTest() : page_("grey") {
        page_.request.expression = "grey";
        page_.request.fileMask = "*.txt";
        page_.request.directory = "C:\\d";
    }

    void Add(std::unique_ptr<CSearchResult> result) {
        CSearchResult& added = *result;
        page_.results.Add(std::move(result));
        view_.AppendResult(page_, added, CFileFacts());
    }

    // Runs a search of three results in two files to its end.
    void RunSearch() {
        view_.BeginRun(page_);
        Add(Passage("a.txt", "a grey cat", 2, 6, true));
        Add(Passage("a.txt", "grey dog", 0, 4, false));
        Add(Passage("b.txt", "all grey", 4, 8, true));
        view_.Refresh(0);
        view_.AppendClosingLine(page_, "Searching terminated normally (0.01 seconds).");
        CSearchCounters counters;
        counters.filesWithPassages = 2;
        counters.found = 12;
        counters.passages = 3;
        view_.ShowCounters(page_, counters);
    }

    void ExpectPositionsPointAtMatches() {
        for (std::size_t i = 0; i < page_.results.size(); ++i) {
            SCOPED_TRACE(i);
            const CSearchResult& r = page_.results[i];
            ASSERT_GT(r.viewPosition, 0);
            EXPECT_EQ("grey", surface_.text.substr(r.viewPosition - 1, 4));
            EXPECT_EQ(static_cast<int>(i), view_.ResultAt(r.viewPosition - 1));
        }
    }

    CPlainPageSurface surface_;
    CResultPageView view_{surface_};
    CFileFindDoc page_;
};

TEST_F(ResultPageViewTest, ResultsGoInAsOneBatchPerRefresh) {
    view_.BeginRun(page_);
    EXPECT_TRUE(surface_.text.empty()) << "the header waits for the request's copy";
    Add(Passage("f", "a grey line", 2, 6, true));
    EXPECT_NE(std::string::npos, surface_.text.find("Search Expression\tgrey\t"));
    const int afterHeader = surface_.appends;
    for (int i = 1; i < 100; ++i)
        Add(Passage("f" + std::to_string(i), "a grey line", 2, 6, true));
    EXPECT_EQ(afterHeader, surface_.appends) << "nothing reaches the control between refreshes";
    view_.Refresh(0);
    EXPECT_EQ(afterHeader + 1, surface_.appends);
    EXPECT_TRUE(surface_.followedEnd) << "a small page follows its end";
    view_.Refresh(40);
    EXPECT_EQ(afterHeader + 1, surface_.appends) << "an empty batch is not sent";
    EXPECT_FALSE(surface_.followedEnd) << "from 40 results on the reader keeps the place";
    ExpectPositionsPointAtMatches();
}

TEST_F(ResultPageViewTest, CountersMoveEveryStoredPosition) {
    RunSearch();
    EXPECT_NE(std::string::npos,
              surface_.text.find("Passages found\t3\tFiles found / total\t2 / 12\t"));
    EXPECT_EQ(std::string::npos, surface_.text.find(kPlainCounterMark));
    ExpectPositionsPointAtMatches();
    EXPECT_EQ(std::string::npos, surface_.text.find("2 / 12\t\r", surface_.text.find("normally")))
        << "the closing line is the last";
    // A click on a bar or the closing line is on no result.
    EXPECT_EQ(-1, view_.ResultAt(surface_.text.find(" a.txt")));
    EXPECT_EQ(-1, view_.ResultAt(surface_.text.find("Searching terminated")));
    EXPECT_EQ(-1, view_.ResultAt(0));

    view_.SelectResult(page_, 2);
    EXPECT_EQ("grey", surface_.text.substr(surface_.selectedFrom,
                                           surface_.selectedTo - surface_.selectedFrom));
}

TEST_F(ResultPageViewTest, ShowingAPageAgainGivesTheSameText) {
    RunSearch();
    const std::string ran = surface_.text;
    CFileFindDoc other("other");
    view_.Render(other, [](const CSearchResult&) { return CFileFacts(); });
    EXPECT_TRUE(surface_.text.empty()) << "a page read from a file has no header";
    view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
    EXPECT_EQ(ran, surface_.text);
    ExpectPositionsPointAtMatches();

    // A page without its search (read from a file) shows its results alone.
    CFileFindDoc loaded("loaded");
    loaded.results.Add(Passage("a.txt", "a grey cat", 2, 6, true));
    view_.Render(loaded, [](const CSearchResult&) { return CFileFacts(); });
    EXPECT_EQ(" a.txt  -  C:\\d\\\r102\ta 1grey cat\r", surface_.text);
    EXPECT_EQ(25, loaded.results[0].viewPosition);

    view_.Forget(loaded);
    EXPECT_EQ(nullptr, view_.page());
    EXPECT_TRUE(surface_.text.empty());
}

TEST_F(ResultPageViewTest, AListingHasOneCounterAndEntryLines) {
    page_.request.expression.clear();
    view_.BeginRun(page_);
    auto entry = std::make_unique<CSearchResult>();
    entry->dir = "C:\\d\\";
    entry->name = "a.txt";
    entry->flags = kResultFirstOfFile;
    Add(std::move(entry));
    CSearchCounters counters;
    counters.listing = true;
    counters.found = 1;
    counters.total = 5;
    view_.ShowCounters(page_, counters);
    EXPECT_NE(std::string::npos, surface_.text.find("Files found / total\t1 / 5\t"));
    EXPECT_EQ(std::string::npos, surface_.text.find("Passages"));
    EXPECT_EQ("a.txt", surface_.text.substr(page_.results[0].viewPosition - 1, 5));
}

// A large page goes into the control as a reader can use it: the top at once, then a
// piece per refresh and per StreamPiece, or up to a result that is selected. Whatever
// the way, the control ends with the text a page shown whole has, and every stored
// position points at its match.
TEST_F(ResultPageViewTest, ALargePageGoesInPieceByPiece) {
    constexpr int kResults = 3 * static_cast<int>(kPieceResults) + 7;
    auto runLarge = [&] {
        page_.results.RemoveAll();
        view_.BeginRun(page_);
        for (int i = 0; i < kResults; ++i)
            Add(Passage("f" + std::to_string(i / 10), "one grey line", 4, 8, i % 10 == 0));
        view_.Refresh(0);
        view_.AppendClosingLine(page_, "Searching terminated normally (0.01 seconds).");
        CSearchCounters counters;
        counters.passages = kResults;
        view_.ShowCounters(page_, counters);
    };
    struct Case {
        const char* name;
        std::function<void()> finish;
    };
    const Case cases[] = {
        {"a piece at a time",
         [&] {
             // Whole pieces went in with the run; the rest, and the closing line's
             // piece, one each.
             std::size_t resultsIn = 0;
             for (std::size_t i = 0; i < page_.results.size(); ++i)
                 if (static_cast<std::size_t>(page_.results[i].viewPosition) <=
                     surface_.text.size())
                     ++resultsIn;
             ASSERT_GE(resultsIn, kFirstPieceResults) << "the first piece went in with the run";
             EXPECT_EQ(0u, (resultsIn - kFirstPieceResults) % kPieceResults) << resultsIn;
             const std::size_t after = kResults - kFirstPieceResults;
             const std::size_t total = 1 + (after + kPieceResults - 1) / kPieceResults + 1;
             std::size_t pieces = 0;
             while (view_.StreamPiece())
                 ++pieces;
             EXPECT_EQ(total - 1 - (resultsIn - kFirstPieceResults) / kPieceResults, pieces);
         }},
        {"all at once", [&] { view_.Complete(); }},
        {"the last result selected",
         [&] {
             view_.SelectResult(page_, kResults - 1);
             EXPECT_EQ("grey", surface_.Selected());
             EXPECT_TRUE(view_.HasBacklog()) << "the closing line still waits";
             view_.Complete();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int appendsBefore = surface_.appends;
        runLarge();
        EXPECT_TRUE(view_.HasBacklog());
        EXPECT_LE(surface_.appends - appendsBefore, 3) << "header, the top, the closing line";
        EXPECT_EQ(std::string::npos, surface_.text.find("terminated"));
        c.finish();
        EXPECT_FALSE(view_.HasBacklog());
        EXPECT_FALSE(view_.StreamPiece());
        const std::string streamed = surface_.text;
        ExpectPositionsPointAtMatches();
        EXPECT_NE(std::string::npos,
                  streamed.find("Passages found\t" + std::to_string(kResults) + "\t"));
        EXPECT_EQ(streamed.size() - streamed.find("Searching terminated") - 1,
                  std::string("Searching terminated normally (0.01 seconds).").size());

        view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
        EXPECT_TRUE(view_.HasBacklog()) << "a page shown again also goes in piece by piece";
        view_.Complete();
        EXPECT_EQ(streamed, surface_.text);
        ExpectPositionsPointAtMatches();
    }
}

// While a run goes on the control gets the page's top at the first refresh, the smaller
// first piece alone, as many results as the control shows lines (each takes at least a
// line, however short), then one more piece per refresh; a page shown again starts the
// same way.
TEST_F(ResultPageViewTest, TheFirstScreenIsTheFirstPiece) {
    const int kResults = static_cast<int>(kFirstPieceResults + 2 * kPieceResults);
    const std::string ordinary = "a line with one grey word in it and more after";
    struct Case {
        const char* name;
        std::string excerpt;     // each result's line
        std::size_t linesShown;  // as the control tells
        std::size_t firstScreen; // results in the control after the first refresh
    };
    const Case cases[] = {
        {"the control cannot tell: the tallest screen", ordinary, 0, kFirstPieceResults},
        {"short lines take as many results", "grey", 0, kFirstPieceResults},
        {"a control of 60 lines", ordinary, 60, 60},
        {"a control of 60 short lines", "grey", 60, 60},
        {"a control of a few lines still gets the fewest", ordinary, 3,
         kFewestFirstPieceResults},
        {"a control taller than the tallest screen", ordinary, 5000, kFirstPieceResults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        surface_.linesShown = c.linesShown;
        auto resultsIn = [&] {
            std::size_t in = 0;
            for (std::size_t i = 0; i < page_.results.size(); ++i)
                if (static_cast<std::size_t>(page_.results[i].viewPosition) <= surface_.text.size())
                    ++in;
            return in;
        };
        const std::size_t at = c.excerpt.find("grey");
        page_.results.RemoveAll();
        view_.BeginRun(page_);
        for (int i = 0; i < kResults; ++i)
            Add(Passage("f" + std::to_string(i / 100), c.excerpt, static_cast<int>(at),
                        static_cast<int>(at) + 4, i % 100 == 0));
        view_.Refresh(0);
        EXPECT_EQ(c.firstScreen, resultsIn());
        view_.Refresh(kResults);
        EXPECT_EQ(c.firstScreen, resultsIn()) << "the refresh's piece waits for the next result";
        const int appends = surface_.appends;
        Add(Passage("last", c.excerpt, static_cast<int>(at), static_cast<int>(at) + 4, true));
        EXPECT_EQ(c.firstScreen + kPieceResults, resultsIn()) << "a piece per refresh";
        EXPECT_EQ(appends + 1, surface_.appends);
        Add(Passage("last", c.excerpt, static_cast<int>(at), static_cast<int>(at) + 4, false));
        EXPECT_EQ(appends + 1, surface_.appends) << "one piece for one refresh";
        view_.AppendClosingLine(page_, "Searching terminated normally (0.01 seconds).");
        view_.Complete();
        ExpectPositionsPointAtMatches();
        const std::string ran = surface_.text;

        view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
        EXPECT_EQ(c.firstScreen, resultsIn()) << "shown again";
        view_.Complete();
        EXPECT_EQ(ran, surface_.text);
    }
}

// The run's last refresh comes just before its closing line: the piece it would add
// beyond the page's top is left to the idle feed, and the page still ends whole, the
// same as a page shown again.
TEST_F(ResultPageViewTest, TheLastRefreshLeavesItsPieceToTheIdleFeed) {
    const int kResults = static_cast<int>(kFirstPieceResults + 2 * kPieceResults);
    struct Case {
        const char* name;
        int shownAtLastRefresh; // the run's count of results at its previous refresh
        int appendsInRun;       // the header and the pieces that went in with the run
    };
    const Case cases[] = {
        {"a page that follows its end takes the piece at once", 0, 3},
        {"a longer page leaves it", kFollowEndBelow, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page_.results.RemoveAll();
        const int before = surface_.appends;
        view_.BeginRun(page_);
        for (int i = 0; i < kResults; ++i)
            Add(Passage("f" + std::to_string(i / 100), "a grey line of ordinary length here",
                        2, 6, i % 100 == 0));
        view_.Refresh(c.shownAtLastRefresh);
        view_.Refresh(c.shownAtLastRefresh);
        view_.AppendClosingLine(page_, "Searching terminated normally (0.01 seconds).");
        view_.ShowCounters(page_, CSearchCounters());
        EXPECT_EQ(c.appendsInRun, surface_.appends - before);
        EXPECT_TRUE(view_.HasBacklog());
        while (view_.StreamPiece()) {
        }
        const std::string ran = surface_.text;
        EXPECT_EQ(ran.size() - ran.find("Searching terminated") - 1,
                  std::string("Searching terminated normally (0.01 seconds).").size());
        ExpectPositionsPointAtMatches();
        view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
        view_.Complete();
        EXPECT_EQ(ran, surface_.text);
    }
}

// Files and folders a run could not search, and converters it gave up, are listed under
// its closing line, on its own page, and again whenever the page is shown.
TEST_F(ResultPageViewTest, SkippedFilesStandUnderTheClosingLine) {
    const std::string closing = "Searching terminated normally (0.01 seconds).\r";
    struct Case {
        const char* name;
        std::vector<std::string> skipped;
        std::string tail;
    };
    const Case cases[] = {
        {"none", {}, closing},
        {"one folder", {"The directory \"C:\\d\\x\" could not be listed: Access denied."},
         closing + "The directory \"C:\\d\\x\" could not be listed: Access denied.\r"},
        {"two, in the order reported",
         {"The file \"C:\\d\\b\" could not be read: Locked.",
          "The file \"C:\\d\\a\" is too large to be searched."},
         closing + "The file \"C:\\d\\b\" could not be read: Locked.\r"
                   "The file \"C:\\d\\a\" is too large to be searched.\r"},
        {"a converter given up among skipped files",
         {"The file \"C:\\d\\b\" could not be read: Locked.",
          "The converter \"wp.cnv\" gave up on \"C:\\d\\c.doc\" (no answer); its bytes were "
          "searched."},
         closing + "The file \"C:\\d\\b\" could not be read: Locked.\r"
                   "The converter \"wp.cnv\" gave up on \"C:\\d\\c.doc\" (no answer); its bytes "
                   "were searched.\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page_.results.RemoveAll();
        view_.BeginRun(page_);
        for (const std::string& message : c.skipped)
            view_.ReportSkipped(message);
        Add(Passage("a.txt", "a grey cat", 2, 6, true));
        view_.Refresh(0);
        view_.AppendClosingLine(page_, "Searching terminated normally (0.01 seconds).");
        ASSERT_GE(surface_.text.size(), c.tail.size());
        EXPECT_EQ(c.tail, surface_.text.substr(surface_.text.size() - c.tail.size()));
        ExpectPositionsPointAtMatches();
        const std::string ran = surface_.text;
        view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
        EXPECT_EQ(ran, surface_.text) << "shown again, the page says the same";
        // Once the run has closed, a converter the viewer gives up is not the page's.
        view_.ReportSkipped("late");
        view_.Render(page_, [](const CSearchResult&) { return CFileFacts(); });
        EXPECT_EQ(ran, surface_.text);
    }

    // A report after the page went away has no page to go to.
    view_.Forget(page_);
    view_.ReportSkipped("lost");
    CFileFindDoc other("other");
    view_.BeginRun(other);
    view_.AppendClosingLine(other, "done");
    EXPECT_EQ(std::string::npos, surface_.text.find("lost"));
}

} // namespace
} // namespace sorbex
