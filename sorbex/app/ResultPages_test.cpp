// Tests of the result pages as the main window keeps them: a real search run fills pages
// in a result document, and the pages are walked, switched, deleted and shown again.
#include "app/ResultPages.h"

#include <gtest/gtest.h>

#include "app/PlainPageSurface.h"
#include "platform/memory/MemoryCompoundFiles.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/ManualClock.h"
#include "platform/testing/TempTree.h"
#include "search/SearchController.h"
#include "search/SearchUiRecorder.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

// The run's page operations go to the pages, as the main window passes them on.
class CPagesUi : public CSearchUiRecorder {
public:
    explicit CPagesUi(CResultPages& pages) : pages_(pages) {}
    bool OpenPage(CFileFindDoc& page) override { return pages_.OpenPage(page); }
    void ActivatePage(CFileFindDoc& page) override { pages_.ActivatePage(page); }
    void ClearPage(CFileFindDoc& page) override { pages_.ClearPage(page); }
    void AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) override {
        pages_.AppendResult(page, result, file);
    }
    void AppendClosingLine(CFileFindDoc& page, const std::string& text) override {
        pages_.AppendClosingLine(page, text);
    }
    void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) override {
        pages_.ShowCounters(page, counters);
    }
    void RefreshResults(CFileFindDoc&, int shown) override { pages_.RefreshResults(shown); }

private:
    CResultPages& pages_;
};

class CActionsRecorder : public CResultActions {
public:
    long answer = 42;
    std::vector<std::string> opened;
    std::vector<std::string> messages;
    std::vector<std::size_t> replacementsAt;
    long OpenWithApplication(const std::string& path) override {
        opened.push_back(path);
        return answer;
    }
    void StartReplacement(CFileFindDoc&, std::size_t index) override {
        replacementsAt.push_back(index);
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

class ResultPagesTest : public ::testing::Test {
protected:
    ResultPagesTest()
        : system_(kestrix::MakeSystemFileSystem()), fs_(*system_), document_(fs_, files_),
          pages_(document_, view_, viewer_, fs_, settings_), ui_(pages_),
          run_(fs_, clock_, ui_, document_) {
        // Names as Windows shows an 8.3 name that is its own short name.
        tree_.Write("Alpha.txt", "grey cat\ngrey dog\n");
        tree_.Write("Beta.txt", "a blue sky\nall grey\n");
        tree_.Write("Gamma.txt", "nothing here\n");
        EXPECT_TRUE(document_.NewDocument());
        document_.AddPage("Search Results");
    }

    CFileFindDoc* Search(const std::string& expression) {
        CSearchRequest request;
        request.expression = expression;
        request.fileMask = "*.txt";
        request.directory = tree_.root();
        request.useExternalFilter = false;
        const CRunOutcome outcome = run_.StartSearching(request);
        if (outcome.page)
            pages_.StoreRun(*outcome.page);
        return outcome.page;
    }

    std::string Row() {
        std::string row;
        for (std::size_t i = 0; i < document_.size(); ++i)
            row +=
                (i ? " " : "") + document_[i].caption + (i == document_.currentIndex() ? "*" : "");
        return row;
    }

    // Every result's stored position names its passage in the page's text.
    void ExpectPositionsOnPassages(const CFileFindDoc& page) {
        for (std::size_t i = 0; i < page.results.size(); ++i) {
            const CSearchResult& r = page.results[i];
            SCOPED_TRACE(r.name + " #" + std::to_string(i));
            const std::string passage =
                r.excerpt.substr(r.excerptStart, r.excerptEnd - r.excerptStart);
            ASSERT_GT(r.viewPosition, 0);
            EXPECT_EQ(passage, surface_.text.substr(r.viewPosition - 1, passage.size()));
        }
    }

    kestrix::TempTree tree_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    kestrix::MemoryCompoundFiles files_;
    kestrix::ManualClock clock_;
    CMemoryProfileStore store_;
    CProfile profile_{store_};
    CAppSettings settings_{profile_};
    CTabDoc document_;
    CPlainPageSurface surface_;
    CResultPageView view_{surface_};
    CResultPageOnlyViewer viewer_;
    CResultPages pages_;
    CPagesUi ui_;
    CSearchController run_;
    CActionsRecorder actions_;
};

TEST_F(ResultPagesTest, RunsFillNewPagesAtTheLeftUpToTheLimit) {
    settings_.SetTabLimit(3);
    CFileFindDoc* grey = Search("grey");
    ASSERT_NE(nullptr, grey);
    EXPECT_EQ("grey* Search Results", Row());
    ASSERT_EQ(3u, grey->results.size());
    EXPECT_NE(std::string::npos,
              surface_.text.find("Passages found\t3\tFiles found / total\t2 / 3"))
        << surface_.text;
    EXPECT_NE(std::string::npos, surface_.text.find("Searching terminated normally"));
    ExpectPositionsOnPassages(*grey);
    EXPECT_EQ("P0", grey->streamName) << "the run's results are in the file";

    EXPECT_EQ(grey, Search("grey")) << "the same search reuses its page";
    EXPECT_EQ("grey* Search Results", Row());
    Search("blue");
    Search("sky");
    EXPECT_EQ("sky* blue grey", Row()) << "the limit of 3 pages";
    ExpectPositionsOnPassages(*document_.CurrentPage());
}

TEST_F(ResultPagesTest, PagesShownAgainAreReadFromTheFile) {
    Search("grey");
    Search("blue");
    ASSERT_TRUE(pages_.ShowPage(1));
    CFileFindDoc& grey = document_[1];
    EXPECT_EQ(3u, grey.results.size());
    EXPECT_NE(std::string::npos, surface_.text.find("Passages found\t3")) << "this session's page";
    ExpectPositionsOnPassages(grey);
    const std::size_t second = static_cast<std::size_t>(grey.results[1].viewPosition);
    EXPECT_TRUE(pages_.SelectAt(second + 1));
    EXPECT_EQ(1, grey.current) << "a click makes its result current";

    ASSERT_TRUE(pages_.DeleteCurrentPage());
    EXPECT_EQ("blue*", Row().substr(0, 5));
    EXPECT_NE(std::string::npos, surface_.text.find("blue")) << "the page to the left is shown";
}

TEST_F(ResultPagesTest, ResultsOfRestoredFilesAreNotReplacedAgainAndStoredSo) {
    Search("grey");
    CFileFindDoc* page = document_.CurrentPage();
    ASSERT_NE(nullptr, page);
    ASSERT_EQ(3u, page->results.size()); // Alpha.txt twice, then Beta.txt
    // As a walk that put "green!" (6) in place of each "grey" (4) leaves them.
    for (std::size_t i = 0; i < 3; ++i) {
        CSearchResult& r = page->results[i];
        r.start += i == 1 ? 2 : 0;
        r.end = r.start + 6;
        r.flags |= kResultReplaced;
    }
    pages_.StoreReplaced(*page);

    pages_.FilesRestored({tree_.Path("Alpha.txt")});
    EXPECT_EQ(0, page->results[0].flags & kResultReplaced);
    EXPECT_EQ(0, page->results[1].flags & kResultReplaced);
    EXPECT_NE(0, page->results[2].flags & kResultReplaced) << "Beta.txt was not restored";
    EXPECT_EQ(9, page->results[1].start);
    EXPECT_EQ(13, page->results[1].end);
    ExpectPositionsOnPassages(*page);

    // Read back from the file, the page says the same.
    Search("blue");
    ASSERT_TRUE(pages_.ShowPage(1));
    const CFileFindDoc& stored = document_[1];
    EXPECT_EQ(0, stored.results[1].flags & kResultReplaced);
    EXPECT_EQ(9, stored.results[1].start);
}

// As a walk that put "green!" (6) in place of each passage of four letters leaves them.
void MarkGreenReplacements(CFileFindDoc& page) {
    int shift = 0;
    for (std::size_t i = 0; i < page.results.size(); ++i) {
        CSearchResult& r = page.results[i];
        if (i > 0 && (r.dir + r.name) != (page.results[i - 1].dir + page.results[i - 1].name))
            shift = 0;
        r.start += shift;
        r.end = r.start + 6;
        r.flags |= kResultReplaced;
        shift += 2;
    }
}

std::size_t IndexOf(CTabDoc& document, const CFileFindDoc* page) {
    for (std::size_t i = 0; i < document.size(); ++i)
        if (&document[i] == page)
            return i;
    return document.size();
}

TEST_F(ResultPagesTest, AnUndoMarksEveryPageThatNamesARestoredFile) {
    CFileFindDoc* grey = Search("grey"); // Alpha.txt twice, then Beta.txt
    ASSERT_NE(nullptr, grey);
    MarkGreenReplacements(*grey);
    pages_.StoreReplaced(*grey);
    CFileFindDoc* dog = Search("dog"); // Alpha.txt
    ASSERT_NE(nullptr, dog);
    MarkGreenReplacements(*dog);
    pages_.StoreReplaced(*dog);
    CFileFindDoc* sky = Search("sky"); // Beta.txt, nothing replaced
    ASSERT_NE(nullptr, sky);
    ASSERT_TRUE(pages_.Step(CStep::NextFile, false, actions_));
    ASSERT_EQ(tree_.Path("Beta.txt"), viewer_.ShownFile());
    const std::string skyText = surface_.text;

    // Pages other than the one shown are read from the file, marked and written back.
    EXPECT_EQ(2u, pages_.FilesRestored({tree_.Path("Alpha.txt")}));
    EXPECT_EQ(sky, document_.CurrentPage());
    EXPECT_EQ(tree_.Path("Beta.txt"), viewer_.ShownFile()) << "the viewer's file was not touched";
    EXPECT_EQ(skyText, surface_.text);
    EXPECT_TRUE(document_.modified());
    const struct {
        CFileFindDoc* page;
        std::vector<int> replaced; // per result
        std::vector<int> starts;
    } expected[] = {{grey, {0, 0, kResultReplaced}, {0, 9, 15}}, {dog, {0}, {14}}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.page->caption);
        ASSERT_TRUE(pages_.ShowPage(IndexOf(document_, e.page)));
        ASSERT_EQ(e.replaced.size(), e.page->results.size());
        for (std::size_t i = 0; i < e.replaced.size(); ++i) {
            EXPECT_EQ(e.replaced[i], e.page->results[i].flags & kResultReplaced) << i;
            EXPECT_EQ(e.starts[i], e.page->results[i].start) << i;
        }
        ExpectPositionsOnPassages(*e.page);
    }

    // Back on the page of Beta.txt, with it in the viewer: restoring it marks the grey
    // page and loads the viewer's file again.
    ASSERT_TRUE(pages_.ShowPage(IndexOf(document_, sky)));
    ASSERT_TRUE(pages_.Step(CStep::NextFile, false, actions_));
    EXPECT_EQ(1u, pages_.FilesRestored({tree_.Path("Beta.txt")}));
    EXPECT_EQ(tree_.Path("Beta.txt"), viewer_.ShownFile());
    EXPECT_EQ(0, sky->current);
    EXPECT_EQ("sky", surface_.Selected());
    ASSERT_TRUE(pages_.ShowPage(IndexOf(document_, grey)));
    EXPECT_EQ(0, grey->results[2].flags & kResultReplaced);

    EXPECT_EQ(0u, pages_.FilesRestored({tree_.Path("Gamma.txt")}));
    EXPECT_EQ(0u, pages_.FilesRestored({}));
}

TEST_F(ResultPagesTest, WalkingShowsResultsAsTheSettingsSay) {
    CFileFindDoc* grey = Search("grey");
    ASSERT_NE(nullptr, grey);
    EXPECT_TRUE(pages_.Step(CStep::NextFile, false, actions_));
    EXPECT_EQ(0, grey->current);
    EXPECT_EQ("grey", surface_.Selected());
    EXPECT_EQ(tree_.Path("Alpha.txt"), viewer_.ShownFile());
    EXPECT_TRUE(pages_.Step(CStep::NextFile, false, actions_));
    EXPECT_EQ(2, grey->current) << "the first result of Beta.txt";
    EXPECT_FALSE(pages_.Step(CStep::NextFile, false, actions_));
    EXPECT_TRUE(pages_.Step(CStep::PreviousFile, false, actions_));
    EXPECT_EQ(0, grey->current);
    EXPECT_TRUE(pages_.Context(false, false, true, false).fileShown);

    settings_.SetDontUseFileViewer(true);
    actions_.answer = 31;
    EXPECT_TRUE(pages_.Step(CStep::NextResult, false, actions_));
    EXPECT_EQ(std::vector<std::string>{tree_.Path("Alpha.txt")}, actions_.opened);
    ASSERT_EQ(1u, actions_.messages.size());
    EXPECT_EQ(0u, actions_.messages[0].find("The file extension is not registered."));
    EXPECT_EQ("", viewer_.ShownFile());
    pages_.OpenShownFile(actions_);
    EXPECT_EQ(2u, actions_.opened.size()) << "F9 opens the file the step opened";

    // In a replace page a result not yet replaced starts the walk.
    EXPECT_TRUE(pages_.ShowResult(2, true, actions_));
    EXPECT_EQ(std::vector<std::size_t>{2}, actions_.replacementsAt);
    grey->results[2].flags |= kResultReplaced;
    settings_.SetDontUseFileViewer(false);
    EXPECT_TRUE(pages_.ShowResult(2, true, actions_));
    EXPECT_EQ(1u, actions_.replacementsAt.size()) << "a replaced one is only shown";
}

TEST_F(ResultPagesTest, CommandContextFollowsThePages) {
    CCommandContext context = pages_.Context(false, false, true, true);
    EXPECT_EQ(1u, context.pageCount);
    EXPECT_FALSE(IsCommandEnabled(CCommand::DeletePage, context));
    Search("grey");
    context = pages_.Context(false, false, true, true);
    EXPECT_TRUE(IsCommandEnabled(CCommand::DeletePage, context));
    EXPECT_TRUE(IsCommandEnabled(CCommand::NextFile, context));
    EXPECT_FALSE(IsCommandEnabled(CCommand::ShiftPageLeft, context));
    EXPECT_TRUE(IsCommandEnabled(CCommand::ShiftPageRight, context));
    EXPECT_FALSE(IsCommandEnabled(CCommand::FileReorganize, context)) << "no file yet";
}

} // namespace
} // namespace sorbex
