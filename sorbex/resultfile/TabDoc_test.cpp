// Tests of the result file: pages stored, shown, deleted, saved and compacted on real
// compound files in scratch directories.
#include "resultfile/TabDoc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "resultfile/PageList.h"
#include "storage/StorageUiRecorder.h"
#include "storage/StreamIo.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

namespace Mode = kestrix::StorageMode;

std::unique_ptr<CSearchResult> Result(const std::string& name, int start) {
    auto r = std::make_unique<CSearchResult>();
    r->start = start;
    r->end = start + 3;
    r->excerpt = "an excerpt of " + name;
    r->excerptStart = 3;
    r->excerptEnd = 6;
    r->passageCount = 1;
    r->dir = "C:\\data\\";
    r->name = name;
    r->flags = 2;
    return r;
}

// One error event: the message, then the file in quotes, then a reason of the system's.
void ExpectFailureNamingFile(const std::string& message, const std::string& name,
                             const std::vector<std::string>& events) {
    ASSERT_EQ(1u, events.size());
    const std::string& shown = events[0];
    EXPECT_EQ(0u, shown.find(message + " \"")) << shown;
    const std::size_t named = shown.find(name + "\": ");
    ASSERT_NE(std::string::npos, named) << shown;
    EXPECT_LT(named + name.size() + 3, shown.size()) << "no reason: " << shown;
}

class TabDocTest : public ::testing::Test {
protected:
    TabDocTest() : system_(kestrix::MakeSystemFileSystem()), fs_(*system_) {}

    // A page with `count` results, stored into the document.
    CFileFindDoc& Search(CTabDoc& doc, const std::string& caption, int count) {
        CFileFindDoc& page = doc.AddPage(caption);
        for (int i = 0; i < count; ++i)
            page.results.Add(Result(caption + std::to_string(i) + ".txt", i * 10));
        EXPECT_TRUE(doc.StorePageResults(page));
        return page;
    }

    std::set<std::string> Elements(const std::string& path) {
        std::set<std::string> names;
        std::unique_ptr<kestrix::Storage> root;
        std::vector<kestrix::StorageElement> elements;
        if (kestrix::SystemCompoundFiles().Open(
                path, Mode::kRead | Mode::kShareDenyNone | Mode::kTransacted, root) ||
            root->Enumerate(elements))
            return {"<unreadable>"};
        for (const auto& e : elements)
            names.insert(e.name);
        return names;
    }

    std::vector<std::uint8_t> Stream(const std::string& path, const std::string& name) {
        std::unique_ptr<kestrix::Storage> root;
        std::unique_ptr<kestrix::StorageStream> stream;
        std::vector<std::uint8_t> bytes;
        if (!kestrix::SystemCompoundFiles().Open(
                path, Mode::kRead | Mode::kShareDenyNone | Mode::kTransacted, root) &&
            !root->OpenStream(name, Mode::kRead | Mode::kShareExclusive, stream))
            ReadWholeStream(*stream, bytes);
        return bytes;
    }

    CPageList Index(const std::string& path) {
        const std::vector<std::uint8_t> bytes = Stream(path, "Index");
        CPageList list;
        EXPECT_TRUE(ReadPageList(bytes.data(), bytes.size(), list));
        return list;
    }

    // The names in the scratch folder: a compaction leaves no file of its own behind,
    // whatever it called it.
    std::set<std::string> Files() {
        std::set<std::string> names;
        system_->ListDirectory(tree_.root(), kestrix::EntryDetail::TypesOnly,
                               [&](const kestrix::DirEntry& entry) {
                                   names.insert(entry.name);
                                   return true;
                               });
        return names;
    }

    kestrix::TempTree tree_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    CStorageUiRecorder ui_;
};

TEST_F(TabDocTest, ANewDocumentSavedHoldsOnlyAnEmptyIndex) {
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    const std::string path = tree_.Path("new.sbx");
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    EXPECT_EQ(path, doc.path());
    EXPECT_EQ(std::set<std::string>{"Index"}, Elements(path));
    EXPECT_EQ((std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
              Stream(path, "Index"));
    EXPECT_TRUE(ui_.events.empty());
}

TEST_F(TabDocTest, PagesAreStoredSavedReopenedDeletedAndCompacted) {
    const std::string path = tree_.Path("two.sbx");
    {
        CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(doc.NewDocument());
        Search(doc, "first", 400); // big enough that dropping it shows in the file size
        Search(doc, "second", 2);
        EXPECT_TRUE(doc.modified());
        ASSERT_TRUE(doc.SaveDocument(path, ui_));
        EXPECT_FALSE(doc.modified());
    }
    const CPageList saved = Index(path);
    ASSERT_EQ(2u, saved.pages.size());
    EXPECT_EQ("P0", saved.pages[0].streamName);
    EXPECT_EQ("first", saved.pages[0].caption);
    EXPECT_EQ("P1", saved.pages[1].streamName);
    EXPECT_EQ(2u, saved.nextPageNumber);
    // The page stream: a count, the first result with its class in full, the next
    // one by class number.
    const std::vector<std::uint8_t> p1 = Stream(path, "P1");
    const std::vector<std::uint8_t> head = {2,   0,   0xFF, 0xFF, 1,   0,   13,  0,   'C',
                                            'S', 'e', 'a',  'r',  'c', 'h', 'R', 'e', 's',
                                            'u', 'l', 't',  1,    0,   0,   0};
    ASSERT_GT(p1.size(), head.size());
    EXPECT_EQ(head, std::vector<std::uint8_t>(p1.begin(), p1.begin() + head.size()));
    const std::vector<std::uint8_t> secondTag = {0x01, 0x80, 1, 0, 0, 0};
    EXPECT_NE(std::search(p1.begin(), p1.end(), secondTag.begin(), secondTag.end()), p1.end());

    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.OpenDocument(path, ui_));
    ASSERT_EQ(2u, doc.size());
    EXPECT_TRUE(doc[1].results.empty()) << "results are read when the page is shown";
    ASSERT_TRUE(doc.ShowPage(1));
    ASSERT_EQ(2u, doc[1].results.size());
    EXPECT_EQ("second1.txt", doc[1].results[1].name);
    EXPECT_EQ(10, doc[1].results[1].start);
    EXPECT_EQ("an excerpt of second1.txt", doc[1].results[1].excerpt);

    ASSERT_TRUE(doc.DeletePage(0));
    Search(doc, "third", 1);
    EXPECT_EQ("P2", doc[1].streamName) << "page numbers go on where the file left them";
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    EXPECT_EQ((std::set<std::string>{"Index", "P1", "P2"}), Elements(path));
    const std::size_t before = tree_.Read("two.sbx").size();
    const std::set<std::string> files = Files();
    ASSERT_TRUE(doc.Reorganize(ui_));
    EXPECT_TRUE(ui_.events.empty());
    EXPECT_EQ(0, ui_.waitDepth);
#ifdef _WIN32
    EXPECT_LT(tree_.Read("two.sbx").size(), before);
#else
    // The native writer lays every commit out afresh: nothing is left to give back.
    EXPECT_LE(tree_.Read("two.sbx").size(), before);
#endif
    EXPECT_EQ(files, Files());
    // The document goes on on the compacted file, its open page included.
    ASSERT_TRUE(doc.ShowPage(0));
    EXPECT_EQ(2u, doc[0].results.size());
    Search(doc, "fourth", 1);
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    EXPECT_EQ(3u, Index(path).pages.size());
}

TEST_F(TabDocTest, EmptyPagesShareOneStreamAndNumbersAreHexadecimal) {
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    Search(doc, "nothing", 0);
    for (int i = 0; i < 17; ++i)
        Search(doc, "page" + std::to_string(i), 1);
    Search(doc, "nothing again", 0);
    const std::string path = tree_.Path("many.sbx");
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    const CPageList list = Index(path);
    ASSERT_EQ(19u, list.pages.size());
    EXPECT_EQ("", list.pages[0].streamName);
    EXPECT_EQ("Pf", list.pages[16].streamName) << "the 16th page with results";
    EXPECT_EQ("P10", list.pages[17].streamName);
    EXPECT_EQ("", list.pages[18].streamName);
    EXPECT_EQ((std::vector<std::uint8_t>{0, 0}), Stream(path, "EMPTY"));
    EXPECT_EQ(19u, Elements(path).size()) << "Index, EMPTY and 17 page streams";
    ASSERT_TRUE(doc.ShowPage(0));
    EXPECT_TRUE(doc[0].results.empty());
    ASSERT_TRUE(doc.ShowPage(18));
    ASSERT_TRUE(doc.DeletePage(18));
    ASSERT_TRUE(doc.ShowPage(0)) << "deleting an empty page keeps the shared stream";
}

// What a replacement changes in a page's results survives showing another page and
// saving: the page is read back from its own stream, not from the search's copy.
TEST_F(TabDocTest, RewrittenResultsAndMovedPagesAreWhatTheFileKeeps) {
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    CFileFindDoc& first = Search(doc, "first", 2);
    Search(doc, "second", 1);
    first.results[0].flags |= kResultReplaced;
    first.results[1].start += 4;
    ASSERT_TRUE(doc.RewritePageResults(first));
    EXPECT_EQ("P0", first.streamName) << "the page keeps its stream";
    ASSERT_TRUE(doc.ShowPage(1));
    ASSERT_TRUE(doc.ShowPage(0));
    EXPECT_EQ(kResultReplaced, doc[0].results[0].flags & kResultReplaced);
    EXPECT_EQ(14, doc[0].results[1].start);

    doc.MovePage(1, 0);
    EXPECT_EQ(0u, doc.currentIndex());
    EXPECT_EQ("second", doc[0].caption);
    const std::string path = tree_.Path("moved.sbx");
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    const CPageList list = Index(path);
    ASSERT_EQ(2u, list.pages.size());
    EXPECT_EQ("P1", list.pages[0].streamName);
    EXPECT_EQ("P0", list.pages[1].streamName);
    EXPECT_EQ(2u, list.nextPageNumber) << "rewriting takes no new number";

    CFileFindDoc& empty = Search(doc, "empty", 0);
    empty.results.Add(Result("late.txt", 0));
    ASSERT_TRUE(doc.RewritePageResults(empty));
    EXPECT_EQ("P2", empty.streamName) << "a page that had no stream of its own gets one";
}

TEST_F(TabDocTest, ResultsOfAPageNotShownAreChangedInItsStream) {
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    Search(doc, "other", 2);
    Search(doc, "empty", 0);
    Search(doc, "shown", 1);
    ASSERT_TRUE(doc.ShowPage(2));
    const auto markFirst = [](CSearchResultArray& results) {
        if (results.empty())
            return false;
        results[0].flags |= kResultReplaced;
        return true;
    };

    // The page not shown is read into a copy: its results in memory stay as they were.
    doc[0].results.RemoveAll();
    ASSERT_TRUE(doc.ChangePageResults(0, markFirst));
    EXPECT_TRUE(doc[0].results.empty());
    EXPECT_EQ(2u, doc.currentIndex()) << "the page shown stays shown";
    ASSERT_TRUE(doc.ChangePageResults(2, markFirst));
    EXPECT_EQ(kResultReplaced, doc[2].results[0].flags & kResultReplaced) << "in memory";
    EXPECT_TRUE(doc.ChangePageResults(1, markFirst)) << "nothing to change";
    EXPECT_FALSE(doc.ChangePageResults(3, markFirst));

    // Read back from the streams.
    const struct {
        std::size_t page;
        std::size_t results;
    } expected[] = {{0, 2}, {1, 0}, {2, 1}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.page);
        ASSERT_TRUE(doc.ShowPage(e.page));
        ASSERT_EQ(e.results, doc[e.page].results.size());
        for (std::size_t i = 0; i < e.results; ++i)
            EXPECT_EQ(i == 0 ? kResultReplaced : 0, doc[e.page].results[i].flags & kResultReplaced);
    }

    // A change that fails to read leaves the page alone.
    bool called = false;
    ASSERT_TRUE(doc.ShowPage(2));
    doc[0].streamName = "P77";
    EXPECT_FALSE(doc.ChangePageResults(0, [&](CSearchResultArray&) { return called = true; }));
    EXPECT_FALSE(called);
}

TEST_F(TabDocTest, ClosingWithoutSavingAndSaveAsLeaveTheFileAsSaved) {
    const std::string path = tree_.Path("kept.sbx");
    const std::string other = tree_.Path("other.sbx");
    {
        CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(doc.NewDocument());
        Search(doc, "saved", 1);
        ASSERT_TRUE(doc.SaveDocument(path, ui_));
        Search(doc, "unsaved", 1);
    }
    EXPECT_EQ(1u, Index(path).pages.size());
    EXPECT_EQ((std::set<std::string>{"Index", "P0"}), Elements(path));

    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.OpenDocument(path, ui_));
    ASSERT_TRUE(doc.ShowPage(0));
    Search(doc, "copied", 3);
    ASSERT_TRUE(doc.SaveDocument(other, ui_));
    EXPECT_EQ(other, doc.path());
    EXPECT_EQ(1u, Index(path).pages.size()) << "the old file is left as it was saved";
    EXPECT_EQ(2u, Index(other).pages.size());
    ASSERT_TRUE(doc.ShowPage(1));
    EXPECT_EQ(3u, doc[1].results.size());

    // Saving where the document cannot go keeps it on its file.
    ASSERT_TRUE(doc.SaveDocument(tree_.Path("missing-dir/x.sbx"), ui_) == false);
    ExpectFailureNamingFile("error Failed to save document.", "x.sbx", ui_.events);
    EXPECT_EQ(other, doc.path());
    ASSERT_TRUE(doc.ShowPage(0));
    EXPECT_EQ(1u, doc[0].results.size());
}

TEST_F(TabDocTest, ReorganizeWithoutRoomLeavesTheFileUnchanged) {
    const std::string path = tree_.Path("full.sbx");
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.NewDocument());
    Search(doc, "a", 50);
    ASSERT_TRUE(doc.SaveDocument(path, ui_));
    const std::string before = tree_.Read("full.sbx");
    const std::set<std::string> files = Files();
    fs_.limitFreeSpace = true;
    fs_.freeSpace = 1000;
    EXPECT_FALSE(doc.Reorganize(ui_));
    EXPECT_EQ(std::vector<std::string>{"error There is not enough free space on your disk to "
                                       "reorganize the search result database."},
              ui_.events);
    EXPECT_EQ(0, ui_.waitDepth);
    EXPECT_TRUE(before == tree_.Read("full.sbx"));
    EXPECT_EQ(files, Files());
    ASSERT_TRUE(doc.ShowPage(0));
    EXPECT_EQ(50u, doc[0].results.size());
}

TEST_F(TabDocTest, ForeignAndDamagedFiles) {
    // A file that is not a compound file opens as an empty document and stays as it
    // is until the document is saved over it.
    tree_.Write("plain.sbx", "just some text");
    {
        CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(doc.OpenDocument(tree_.Path("plain.sbx"), ui_));
        EXPECT_EQ(0u, doc.size());
    }
    EXPECT_EQ("just some text", tree_.Read("plain.sbx"));

    // Hand-made page lists and page streams.
    const std::string path = tree_.Path("made.sbx");
    {
        std::unique_ptr<kestrix::Storage> root;
        ASSERT_FALSE(kestrix::SystemCompoundFiles().Create(
            path, Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive, root));
        auto put = [&](const char* name, std::vector<std::uint8_t> bytes) {
            std::unique_ptr<kestrix::StorageStream> s;
            ASSERT_FALSE(root->CreateStream(
                name, Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive, s));
            ASSERT_FALSE(WriteWholeStream(*s, bytes.data(), bytes.size()));
        };
        CPageList list;
        list.nextPageNumber = 2;
        list.pages = {{"P0", "cut"}, {"P1", "gone"}};
        put("Index", WritePageList(list));
        // One result whose excerpt claims 100 bytes where 3 follow.
        std::vector<std::uint8_t> cut = {1, 0, 0xFF, 0xFF, 1, 0, 13, 0};
        for (char c : std::string("CSearchResult"))
            cut.push_back(static_cast<std::uint8_t>(c));
        cut.insert(cut.end(), 32, 0);
        cut[cut.size() - 28] = 1; // version 1
        cut.push_back(100);
        cut.insert(cut.end(), {'a', 'b', 'c'});
        put("P0", cut);
        ASSERT_FALSE(root->Commit());
    }
    CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(doc.OpenDocument(path, ui_));
    ASSERT_EQ(2u, doc.size());
    EXPECT_FALSE(doc.ShowPage(0)) << "a string longer than its stream";
    EXPECT_TRUE(doc[0].results.empty());
    EXPECT_FALSE(doc.ShowPage(1)) << "a page whose stream is missing";
    EXPECT_TRUE(ui_.events.empty());

    // A damaged page list refuses the whole file.
    {
        std::unique_ptr<kestrix::Storage> root;
        ASSERT_FALSE(kestrix::SystemCompoundFiles().Create(
            tree_.Path("bad.sbx"), Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive, root));
        std::unique_ptr<kestrix::StorageStream> s;
        ASSERT_FALSE(root->CreateStream(
            "Index", Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive, s));
        const std::vector<std::uint8_t> bytes = {1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
        ASSERT_FALSE(WriteWholeStream(*s, bytes.data(), bytes.size()));
        s.reset();
        ASSERT_FALSE(root->Commit());
    }
    CTabDoc bad(fs_, kestrix::SystemCompoundFiles());
    EXPECT_FALSE(bad.OpenDocument(tree_.Path("bad.sbx"), ui_));
    EXPECT_EQ(std::vector<std::string>{"error " + ResultFileFailureText(
                                                      IDS_FAILED_TO_OPEN_DOCUMENT, tree_.Path("bad.sbx"),
                                                      kestrix::MakeOsError(
                                                          "", "", kestrix::StorageError::kInvalidHeader))},
              ui_.events);
}

// The same document, written on this system into testdata when
// SORBEX_WRITE_TESTDATA is set; the files of both systems are read back on each.
void FillKnownDocument(CTabDoc& doc) {
    CFileFindDoc& alpha = doc.AddPage("alpha");
    alpha.results.Add(Result("Gr\xFC\xDF"
                             "e.txt",
                             5));
    alpha.results.Add(Result("second.txt", 70000));
    doc.StorePageResults(alpha);
    doc.StorePageResults(doc.AddPage("nothing found"));
    CFileFindDoc& beta = doc.AddPage("beta");
    beta.results.Add(Result("b.doc", 0));
    doc.StorePageResults(beta);
}

TEST_F(TabDocTest, FilesWrittenOnEitherSystemReadTheSame) {
    const std::string dir = std::string(SORBEX_RESULTFILE_TESTDATA) + "/";
#ifdef _WIN32
    const char* mine = "written-windows.sbx";
#else
    const char* mine = "written-native.sbx";
#endif
    if (std::getenv("SORBEX_WRITE_TESTDATA")) {
        CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(doc.NewDocument());
        FillKnownDocument(doc);
        ASSERT_TRUE(doc.SaveDocument(dir + mine, ui_));
    }
    for (const char* name : {"written-native.sbx", "written-windows.sbx"}) {
        SCOPED_TRACE(name);
        std::string bytes;
        ASSERT_FALSE(fs_.ReadFile(dir + name, bytes));
        tree_.Write(name, bytes); // a copy: opening for writing never touches the original
        CTabDoc doc(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(doc.OpenDocument(tree_.Path(name), ui_));
        ASSERT_EQ(3u, doc.size());
        EXPECT_EQ("P0", doc[0].streamName);
        EXPECT_EQ("", doc[1].streamName);
        EXPECT_EQ("P1", doc[2].streamName);
        EXPECT_EQ("nothing found", doc[1].caption);
        EXPECT_EQ(2u, doc.nextPageNumber());
        ASSERT_TRUE(doc.ShowPage(0));
        ASSERT_EQ(2u, doc[0].results.size());
        EXPECT_EQ("Gr\xFC\xDF"
                  "e.txt",
                  doc[0].results[0].name);
        EXPECT_EQ(70000, doc[0].results[1].start);
        ASSERT_TRUE(doc.ShowPage(1));
        EXPECT_TRUE(doc[1].results.empty());
        ASSERT_TRUE(doc.ShowPage(2));
        EXPECT_EQ("an excerpt of b.doc", doc[2].results[0].excerpt);
    }
}

} // namespace
} // namespace sorbex
