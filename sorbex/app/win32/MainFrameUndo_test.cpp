// Tests under Wine of "Undo Replacement" in the real main window: replacements answered
// through the dialogs' seam keep a journal in a folder of the test's own, and the undo
// command puts the files back, marks the pages again and says what it did.
#include "app/win32/MainFrame.h"

#include <gtest/gtest.h>

#include "app/UserDialogsScript.h"
#include "app/win32/SorbexIds.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

// Shows a file by reading it, as the viewer window does when the file is not the one
// shown; what it read is what the user would see.
class CReadingViewer : public CResultViewer {
public:
    explicit CReadingViewer(kestrix::FileSystem& fs) : fs_(fs) {}

    bool ShowResult(const CFileFindDoc& page, std::size_t index) override {
        const CSearchResult& result = page.results[index];
        const std::string path = result.dir + result.name;
        if (path != shown_) {
            shown_ = path;
            content.clear();
            fs_.ReadFile(path, content);
        }
        return true;
    }
    void ResultReplaced(const CFileFindDoc&, std::size_t, int) override {}
    std::string ShownFile() const override { return shown_; }
    void Clear() override {
        shown_.clear();
        content.clear();
    }

    std::string content;

private:
    kestrix::FileSystem& fs_;
    std::string shown_;
};

// The script's answers, and whether undo was open to the user while a walk asked.
class CUndoDialogs : public CUserDialogsScript {
public:
    CReplaceConfirmation ConfirmReplace(const std::string& question) override {
        if (frame)
            undoEnabledWhileAsked.push_back(frame->enabled(CCommand::UndoReplacement));
        return CUserDialogsScript::ConfirmReplace(question);
    }

    CMainFrame* frame = nullptr;
    std::vector<bool> undoEnabledWhileAsked;
};

class MainFrameUndoTest : public ::testing::Test {
protected:
    MainFrameUndoTest()
        : system_(kestrix::MakeSystemFileSystem()), fs_(*system_),
          clock_(kestrix::MakeSteadyClock()), viewer_(fs_) {
        // The journal goes into a folder of its own, outside the searched tree.
        fs_.cacheDirectories = {cache_.root()};
        tree_.Write("Alpha.txt", "grey cat, grey dog\n");
        tree_.Write("Beta.txt", "grey\n");
        tree_.Write("Gamma.txt", "nothing to see\n");
        context_.instance = GetModuleHandleW(nullptr);
        context_.fs = &fs_;
        context_.clock = clock_.get();
        context_.files = &kestrix::SystemCompoundFiles();
        context_.profile = &profile_;
        context_.dialogs = &dialogs_;
        frame_ = std::make_unique<CMainFrame>(context_);
        EXPECT_NE(nullptr, frame_->Open(SW_SHOWNORMAL, ""));
        frame_->SetFileViewer(&viewer_);
        dialogs_.frame = frame_.get();
        dialogs_.noMoreWarnings = true;
    }

    ~MainFrameUndoTest() override {
        if (frame_->hwnd()) {
            dialogs_.saveAnswers = {CSaveAnswer::No};
            SendMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
        }
    }

    LRESULT Command(WORD id) {
        return SendMessageW(frame_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }

    // A search over the tree from the "Search" page, or a replacement from the
    // "Replace" page that the script answers with Replace All.
    void Run(const std::string& expression, const char* replacement = nullptr) {
        CSearchPageValues values;
        values.expression = expression;
        values.fileMask = "*.txt";
        values.directory = tree_.root();
        frame_->propertyBar().searchPage().SetValues(values);
        if (replacement) {
            frame_->propertyBar().ActivatePage(CDefinitionPageKind::Replace);
            frame_->propertyBar().replacePage().SetValues({replacement, 0});
            dialogs_.confirmations = {{CReplaceAnswer::Yes, true}};
        } else {
            frame_->propertyBar().ActivatePage(CDefinitionPageKind::Search);
        }
        Command(ID_START_SEARCHING);
    }

    std::size_t IndexOf(const std::string& caption) {
        for (std::size_t i = 0; i < frame_->document().size(); ++i)
            if (frame_->document()[i].caption == caption)
                return i;
        ADD_FAILURE() << "no page " << caption;
        return 0;
    }

    // The replaced marks of the page's results, read from the result file: "R" for a
    // replaced result, "-" for one that is not.
    std::string StoredMarks(const std::string& caption) {
        CTabDoc& document = frame_->document();
        const std::size_t shown = document.currentIndex();
        std::string marks;
        EXPECT_TRUE(document.ShowPage(IndexOf(caption)));
        const CFileFindDoc& page = *document.CurrentPage();
        for (std::size_t i = 0; i < page.results.size(); ++i)
            marks += (page.results[i].flags & kResultReplaced) ? 'R' : '-';
        EXPECT_TRUE(document.ShowPage(shown));
        return marks;
    }

    std::string LastMessage() {
        return dialogs_.messages.empty() ? "<none>" : dialogs_.messages.back();
    }

    kestrix::TempTree tree_;
    kestrix::TempTree cache_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    std::unique_ptr<kestrix::Clock> clock_;
    CReadingViewer viewer_;
    CMemoryProfileStore store_;
    CProfile profile_{store_};
    CUndoDialogs dialogs_;
    CFrameContext context_;
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameUndoTest, UndoPutsTheFilesBackAndMarksEveryPageAgain) {
    EXPECT_FALSE(frame_->enabled(CCommand::UndoReplacement)) << "the journal is empty";
    Command(ID_UNDO_REPLACEMENT);
    EXPECT_TRUE(dialogs_.messages.empty()) << "a disabled command does nothing";

    Run("cat", "cow"); // the older walk
    ASSERT_EQ("grey cow, grey dog\n", tree_.Read("Alpha.txt"));
    Run("grey", "blue"); // the newer one, over the same file and Beta.txt
    ASSERT_EQ("blue cow, blue dog\n", tree_.Read("Alpha.txt"));
    ASSERT_EQ("blue\n", tree_.Read("Beta.txt"));
    ASSERT_FALSE(dialogs_.undoEnabledWhileAsked.empty());
    EXPECT_FALSE(dialogs_.undoEnabledWhileAsked.back())
        << "not while a walk runs, with a walk in the journal";
    EXPECT_TRUE(frame_->enabled(CCommand::UndoReplacement));
    EXPECT_EQ("RRR", StoredMarks("grey"));

    // Another page is current, with the changed file in the viewer.
    Run("dog");
    ASSERT_EQ("dog", frame_->document().CurrentPage()->caption);
    Command(ID_NEXT_FILE);
    ASSERT_EQ(tree_.Path("Alpha.txt"), viewer_.ShownFile());
    ASSERT_EQ("blue cow, blue dog\n", viewer_.content);

    dialogs_.messages.clear();
    Command(ID_UNDO_REPLACEMENT);
    EXPECT_EQ("grey cow, grey dog\n", tree_.Read("Alpha.txt")) << "only the newest walk";
    EXPECT_EQ("grey\n", tree_.Read("Beta.txt"));
    EXPECT_EQ("Files put back as they were before the replacement: 2", LastMessage());
    EXPECT_TRUE(dialogs_.errors.empty());
    EXPECT_EQ("---", StoredMarks("grey")) << "a page that is not shown is marked too";
    EXPECT_EQ("R", StoredMarks("cat")) << "its walk was not undone, its file holds \"cow\"";
    EXPECT_EQ("dog", frame_->document().CurrentPage()->caption);
    EXPECT_EQ(tree_.Path("Alpha.txt"), viewer_.ShownFile());
    EXPECT_EQ("grey cow, grey dog\n", viewer_.content) << "the viewer loads the file again";
    EXPECT_TRUE(frame_->document().modified()) << "the save prompt applies";

    // The older walk is next, and then the journal is empty.
    Command(ID_UNDO_REPLACEMENT);
    EXPECT_EQ("grey cat, grey dog\n", tree_.Read("Alpha.txt"));
    EXPECT_EQ("-", StoredMarks("cat"));
    EXPECT_EQ("---", StoredMarks("grey"));
    EXPECT_FALSE(frame_->enabled(CCommand::UndoReplacement));
}

TEST_F(MainFrameUndoTest, AFailedUndoNamesTheFileAndCanBeRunAgain) {
    Run("grey", "blue");
    ASSERT_EQ("blue cat, blue dog\n", tree_.Read("Alpha.txt"));
    tree_.Write("Beta.txt", "edited since\n");
    const std::string alpha = tree_.Path("Alpha.txt");
    fs_.failReplace[alpha] = kestrix::FileFailure::Locked;

    Command(ID_UNDO_REPLACEMENT);
    const std::string first = LastMessage();
    EXPECT_NE(std::string::npos,
              first.find("Files put back as they were before the replacement: 0"))
        << first;
    EXPECT_NE(std::string::npos, first.find("The file \"" + tree_.Path("Beta.txt") +
                                            "\" has changed since the replacement and was "
                                            "left as it is."))
        << first;
    EXPECT_NE(std::string::npos, first.find("The file \"" + alpha + "\" could not be put back ("))
        << first;
    EXPECT_EQ("blue cat, blue dog\n", tree_.Read("Alpha.txt"));
    EXPECT_EQ("edited since\n", tree_.Read("Beta.txt"));
    EXPECT_EQ("RRR", StoredMarks("grey")) << "nothing was put back";
    EXPECT_TRUE(frame_->enabled(CCommand::UndoReplacement)) << "the walk stays";

    // Run again once the file can be written: it is put back; the changed file is
    // named again and keeps what it holds.
    fs_.failReplace.clear();
    Command(ID_UNDO_REPLACEMENT);
    EXPECT_EQ("grey cat, grey dog\n", tree_.Read("Alpha.txt"));
    EXPECT_EQ("edited since\n", tree_.Read("Beta.txt"));
    EXPECT_EQ(0u, LastMessage().find("Files put back as they were before the replacement: 1"))
        << LastMessage();
    EXPECT_NE(std::string::npos, LastMessage().find("has changed since")) << LastMessage();
    EXPECT_EQ("--R", StoredMarks("grey")) << "Beta.txt still holds a replacement's text";
    EXPECT_TRUE(frame_->enabled(CCommand::UndoReplacement))
        << "the changed file's old content is not thrown away";
}

} // namespace
} // namespace sorbex
