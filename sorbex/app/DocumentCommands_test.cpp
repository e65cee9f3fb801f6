// Tests of the result document's commands: the start, New, Open, Save, Save As, the recent
// files and the question before a changed document goes.
#include "app/DocumentCommands.h"

#include <gtest/gtest.h>

#include "app/PlainPageSurface.h"
#include "platform/memory/MemoryCompoundFiles.h"
#include "platform/testing/FaultyFileSystem.h"
#include "storage/StorageUiRecorder.h"

namespace sorbex {
namespace {

class CDocumentUiRecorder : public CDocumentUi {
public:
    std::vector<CSaveAnswer> answers; // taken in order
    std::vector<std::string> questions;
    std::string savePath;
    std::string openPath;
    int saveDialogs = 0;
    int changes = 0;

    CSaveAnswer AskSaveChanges(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty())
            return CSaveAnswer::Cancel;
        const CSaveAnswer answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::string ChooseSavePath(const std::string&) override {
        ++saveDialogs;
        return savePath;
    }
    std::string ChooseOpenPath() override { return openPath; }
    void DocumentChanged() override { ++changes; }
};

class DocumentCommandsTest : public ::testing::Test {
protected:
    DocumentCommandsTest()
        : system_(kestrix::MakeSystemFileSystem()), fs_(*system_), document_(fs_, files_),
          pages_(document_, view_, viewer_, fs_, settings_),
          commands_(document_, pages_, recent_, profile_, storageUi_, ui_) {}

    // A search's page, stored, so that the document is changed.
    void AddSearch(const std::string& caption) {
        CFileFindDoc& page = document_.AddPage(caption);
        auto result = std::make_unique<CSearchResult>();
        result->name = caption + ".txt";
        page.results.Add(std::move(result));
        pages_.OpenPage(page);
        pages_.StoreRun(page);
    }

    std::string Stored(const std::string& key) {
        std::string value;
        return store_.Read("Recent File List", key, value) ? value : "<missing>";
    }

    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    kestrix::MemoryCompoundFiles files_;
    CMemoryProfileStore store_;
    CProfile profile_{store_};
    CAppSettings settings_{profile_};
    CTabDoc document_;
    CPlainPageSurface surface_;
    CResultPageView view_{surface_};
    CResultPageOnlyViewer viewer_;
    CResultPages pages_;
    CRecentFiles recent_;
    CStorageUiRecorder storageUi_;
    CDocumentUiRecorder ui_;
    CDocumentCommands commands_;
};

TEST_F(DocumentCommandsTest, ANewDocumentHasOneUnchangedPage) {
    commands_.Start("", true);
    ASSERT_EQ(1u, document_.size());
    EXPECT_EQ("Search Results", document_[0].caption);
    EXPECT_FALSE(document_.modified());
    EXPECT_EQ("Search Results", commands_.Title());
    EXPECT_TRUE(commands_.CanClose()) << "nothing to ask";
    EXPECT_TRUE(ui_.questions.empty());
}

TEST_F(DocumentCommandsTest, SaveAsRemembersTheFileAndTheNextStartLoadsIt) {
    commands_.Start("", true);
    AddSearch("grey");
    ui_.savePath = "C:\\results\\first.sbx";
    ASSERT_TRUE(commands_.Save()) << "a document without a file is saved as";
    EXPECT_EQ(1, ui_.saveDialogs);
    EXPECT_EQ("first.sbx", commands_.Title());
    EXPECT_EQ("C:\\results\\first.sbx", Stored("File1"));
    AddSearch("blue");
    ASSERT_TRUE(commands_.Save());
    EXPECT_EQ(1, ui_.saveDialogs) << "a named document is saved in place";

    ASSERT_TRUE(commands_.New());
    EXPECT_EQ(1u, document_.size());
    commands_.Start("", true);
    ASSERT_EQ(3u, document_.size()) << "AutoLoad opens the most recent file";
    EXPECT_EQ("blue", document_[0].caption);
    EXPECT_EQ("first.sbx", commands_.Title());
    EXPECT_EQ("blue", surface_.text.substr(surface_.text.find("blue"), 4)) << "page 1 is shown";

    ASSERT_TRUE(commands_.New());
    commands_.Start("", false);
    EXPECT_EQ(1u, document_.size()) << "without AutoLoad the start is a new document";
    EXPECT_TRUE(commands_.Open("C:\\results\\first.sbx"));
    EXPECT_EQ("C:\\results\\first.sbx", Stored("File1"));
    EXPECT_EQ("<missing>", Stored("File2")) << "the same file once";
}

TEST_F(DocumentCommandsTest, TheCommandLineFileComesFirstAndAMissingOneIsForgotten) {
    commands_.Start("", true);
    AddSearch("grey");
    ui_.savePath = "C:\\a.sbx";
    ASSERT_TRUE(commands_.SaveAs());
    ui_.savePath = "C:\\b.sbx";
    AddSearch("blue");
    ASSERT_TRUE(commands_.SaveAs());
    EXPECT_EQ("C:\\b.sbx", Stored("File1"));
    EXPECT_EQ("C:\\a.sbx", Stored("File2"));

    ASSERT_TRUE(commands_.OpenRecent(1)) << "the second recent file";
    EXPECT_EQ("a.sbx", commands_.Title());
    ASSERT_TRUE(commands_.New());
    commands_.Start("C:\\a.sbx", true);
    EXPECT_EQ("a.sbx", commands_.Title());
    EXPECT_EQ("C:\\a.sbx", Stored("File1"));

    ASSERT_TRUE(commands_.New());
    commands_.Start("C:\\gone.sbx", true);
    EXPECT_EQ("Search Results", commands_.Title()) << "a new document instead";
    EXPECT_EQ((std::vector<std::string>{"error Failed to open document. \"C:\\gone.sbx\": The "
                                        "file could not be found"}),
              storageUi_.events);
    EXPECT_FALSE(commands_.OpenRecent(2));
    EXPECT_EQ("C:\\a.sbx", Stored("File1"));
}

TEST_F(DocumentCommandsTest, AChangedDocumentAsksBeforeItGoes) {
    commands_.Start("", true);
    AddSearch("grey");
    ui_.answers = {CSaveAnswer::Cancel};
    EXPECT_FALSE(commands_.New());
    EXPECT_EQ(2u, document_.size()) << "cancelled: the document stays";
    EXPECT_EQ(std::vector<std::string>{"Save changes to Search Results?"}, ui_.questions);

    ui_.answers = {CSaveAnswer::Yes};
    ui_.savePath = "";
    EXPECT_FALSE(commands_.CanClose()) << "the save dialog was cancelled";
    ui_.answers = {CSaveAnswer::Yes};
    ui_.savePath = "C:\\kept.sbx";
    EXPECT_TRUE(commands_.CanClose());
    EXPECT_FALSE(document_.modified());

    AddSearch("blue");
    ui_.answers = {CSaveAnswer::No};
    EXPECT_TRUE(commands_.New());
    EXPECT_EQ(1u, document_.size());
    ASSERT_TRUE(commands_.Open("C:\\kept.sbx"));
    EXPECT_EQ(2u, document_.size()) << "the unsaved page is not in the file";
}

} // namespace
} // namespace sorbex
