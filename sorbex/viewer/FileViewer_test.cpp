// Tests of the viewer model: what it loads, shows and marks as the user steps through
// results, and what it leaves alone.
#include "viewer/FileViewer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "search/ReplaceUiRecorder.h"
#include "text/CleanText.h"
#include "text/FileTextLoader.h"
#include "text/RtfToText.h"
#include "text/ScriptedConverters_test.h"
#include "text/TextOrigin.h"
#include "viewer/ViewerUiRecorder.h"

namespace sorbex {
namespace {

using Calls = std::vector<std::string>;

class FileViewerTest : public ::testing::Test {
protected:
    // Appends the results of `words` in the file `name`, as a search records them:
    // each word found in `searched` (the text the search saw) after the one before.
    void AddFile(const std::string& name, const std::string& searched,
                 const std::vector<std::string>& words, int flags = 0) {
        std::size_t from = 0;
        for (std::size_t k = 0; k < words.size(); ++k) {
            const std::size_t at = searched.find(words[k], from);
            ASSERT_NE(std::string::npos, at) << words[k];
            from = at + 1;
            auto result = std::make_unique<CSearchResult>(
                searched.data(), searched.size(), static_cast<int>(at),
                static_cast<int>(at + words[k].size()), tree.root(), name);
            result->passageCount = static_cast<int>(words.size());
            result->flags = flags | (k == 0 ? kResultFirstOfFile : 0);
            results.Add(std::move(result));
        }
    }
    // A listed file: no passage.
    void AddListed(const std::string& name) {
        auto result = std::make_unique<CSearchResult>();
        result->dir = tree.root();
        result->name = name;
        result->passageCount = 1;
        result->flags = kResultFirstOfFile;
        results.Add(std::move(result));
    }
    Calls Show(std::size_t index) {
        ui.calls.clear();
        viewer.ShowResult(results, index, ui);
        return ui.calls;
    }

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CMemoryProfile profile;
    ScriptedLoader libraries;
    CTextConverterList converters;
    CFileViewer viewer{fs, profile, &converters};
    CSearchResultArray results;
    CViewerUiRecorder ui;
};

TEST_F(FileViewerTest, SteppingWithinAFileSelectsWithoutReloadingAndAnotherFileReloads) {
    tree.Write("a.txt", "first line\nsecond line with a word\nthird word\n");
    tree.Write("b.txt", "other file, other word");
    AddFile("a.txt", "first line\nsecond line with a word\nthird word\n",
            {"first", "word", "word"});
    AddFile("b.txt", "other file, other word", {"word"});
    // The control keeps CR LF as one paragraph mark, as rich-text controls do.
    ui.render = [](const std::string& content, bool) {
        std::string text;
        for (std::size_t i = 0; i < content.size(); ++i)
            if (!(content[i] == '\n' && i > 0 && content[i - 1] == '\r'))
                text += content[i];
        return text;
    };

    EXPECT_EQ((Calls{"activate a.txt", "redraw off", "font Arial 10", "content text", "mark 0-5",
                     "mark 30-34", "mark 41-45", "select 0-5", "redraw on"}),
              Show(0));
    EXPECT_EQ("first line\r\nsecond line with a word\r\nthird word\r\n", ui.content);
    EXPECT_EQ(1, fs.readCalls);
    EXPECT_EQ((std::vector<std::string>{"first", "word", "word"}), ui.MarkedTexts());

    EXPECT_EQ((Calls{"select 30-34", "redraw on"}), Show(1));
    EXPECT_EQ((Calls{"select 41-45", "redraw on"}), Show(2));
    EXPECT_EQ((Calls{"select 0-5", "redraw on"}), Show(0));
    EXPECT_EQ(1, fs.readCalls);
    EXPECT_EQ(0, viewer.firstResult());
    EXPECT_EQ(0, viewer.current());

    EXPECT_EQ((Calls{"activate b.txt", "redraw off", "font Arial 10", "content text", "mark 18-22",
                     "select 18-22", "redraw on"}),
              Show(3));
    EXPECT_EQ(2, fs.readCalls);
    EXPECT_EQ(3u, viewer.firstResult());
    EXPECT_EQ(tree.root() + "b.txt", viewer.shownPath());
    EXPECT_TRUE(viewer.ShowsFile());
}

TEST_F(FileViewerTest, AnRtfFileIsShownFormattedWithItsPassagesWhereTheControlHasThem) {
    const std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Dear {\\b reader},\\par see "
                            "{\\field{\\*\\fldinst HYPERLINK \"http://example.com\"}{\\fldrslt "
                            "our site}} for the\\tab details.\\par}";
    tree.Write("letter.rtf", rtf);
    std::string searched = RtfToText(rtf);
    CleanText(&searched[0], searched.size());
    AddFile("letter.rtf", searched, {"reader", "site", "details"}, kTextConverted);
    // The control shows a field by its result and ends paragraphs with CR.
    ui.render = [](const std::string& content, bool isRtf) {
        EXPECT_TRUE(isRtf);
        std::string text = RtfToText(content);
        const std::size_t open = text.find('{');
        text.erase(open, text.find('}') + 1 - open);
        for (char& c : text)
            if (c == '\n')
                c = '\r';
        return text;
    };

    Show(1);
    EXPECT_EQ(rtf, ui.content);
    EXPECT_TRUE(ui.contentIsRtf);
    EXPECT_EQ((std::vector<std::string>{"reader", "site", "details"}), ui.MarkedTexts());
    EXPECT_EQ((std::vector<std::string>{"site"}), ui.SelectedTexts());
}

TEST_F(FileViewerTest, SourcesAndExtractedTextsAreShownAsText) {
    tree.Write("letter.rtf", "{\\rtf1 Dear reader\\par}");
    tree.Write("page.htm", "<p>Hello <b>world</b></p>");
    AddFile("letter.rtf", "{\\rtf1 Dear reader\\par}", {"reader"});
    AddFile("page.htm", "Hello world\n\n", {"world"}, kTextConverted);
    Show(0);
    EXPECT_EQ("{/rtf1 Dear reader\\par}", ui.content);
    EXPECT_FALSE(ui.contentIsRtf);
    EXPECT_EQ((std::vector<std::string>{"reader"}), ui.MarkedTexts());
    Show(1);
    EXPECT_EQ("Hello world\r\n\r\n", ui.content);
    EXPECT_EQ((std::vector<std::string>{"world"}), ui.MarkedTexts());
}

TEST_F(FileViewerTest, PicturesAreShownAsPicturesOnce) {
    tree.Write("photo.bmp", "BM");
    tree.Write("anim.gif", "GIF89a");
    AddListed("photo.bmp");
    AddListed("anim.gif");
    AddListed("photo.bmp");

    EXPECT_EQ((Calls{"activate photo.bmp", "picture " + tree.root() + "photo.bmp"}), Show(0));
    EXPECT_EQ(tree.root() + "photo.bmp", viewer.shownPath());
    EXPECT_EQ((Calls{"activate photo.bmp"}), Show(2));
    EXPECT_EQ(2, viewer.current());
    EXPECT_EQ(0, fs.readCalls);

    // Without "Gif" a GIF file is shown as its bytes; with it, as a picture.
    EXPECT_EQ((Calls{"activate anim.gif", "redraw off", "font Arial 10", "content text", "mark 0-0",
                     "select 0-0", "redraw on"}),
              Show(1));
    EXPECT_EQ("GIF89a", ui.content);
    profile.values["Options/Gif"] = 1;
    EXPECT_EQ((Calls{"activate anim.gif", "picture " + tree.root() + "anim.gif"}), Show(1));

    // A picture that cannot be shown leaves the viewer as it was.
    ui.picturesLoad = false;
    Show(0);
    EXPECT_EQ(tree.root() + "anim.gif", viewer.shownPath());
}

TEST_F(FileViewerTest, AFileThatCannotBeReadLeavesTheShownFileAsItWas) {
    tree.Write("a.txt", "one two three");
    AddFile("a.txt", "one two three", {"one", "three"});
    AddFile("gone.txt", "one two", {"two"});
    Show(0);
    const int reads = fs.readCalls;

    EXPECT_EQ(Calls{}, Show(2));
    EXPECT_EQ(0, viewer.current());
    EXPECT_EQ(tree.root() + "a.txt", viewer.shownPath());
    // The shown file still answers to its results, without being read again.
    EXPECT_EQ((Calls{"select 8-13", "redraw on"}), Show(1));
    EXPECT_EQ(reads + 1, fs.readCalls);
}

TEST_F(FileViewerTest, PassagesThatCannotBeMappedAreNotMarked) {
    tree.Write("a.txt", "one two three four five six seven");
    AddFile("a.txt", "one two three four five six seven", {"two", "seven"});
    ui.render = [](const std::string&, bool) { return std::string("0123456789"); };
    // No marks; the current passage is selected where the table has it, within the text.
    EXPECT_EQ((Calls{"activate a.txt", "redraw off", "font Arial 10", "content text", "select 4-7",
                     "redraw on"}),
              Show(0));
    EXPECT_EQ((Calls{"select 0-5", "redraw on"}), Show(1));
    EXPECT_EQ((std::vector<std::int32_t>{4, 0}), viewer.positions());
}

TEST_F(FileViewerTest, TheSameFileFromOtherResultsIsMarkedAnewButNotRead) {
    tree.Write("a.txt", "alpha beta gamma");
    AddFile("a.txt", "alpha beta gamma", {"beta"});
    CSearchResultArray otherPage;
    otherPage.Add(std::make_unique<CSearchResult>(results[0]));
    otherPage[0].start = 11;
    otherPage[0].end = 16;
    Show(0);
    const int reads = fs.readCalls;

    ui.calls.clear();
    viewer.ShowResult(otherPage, 0, ui);
    EXPECT_EQ((Calls{"activate a.txt", "redraw off", "font Arial 10", "content text", "mark 11-16",
                     "select 11-16", "redraw on"}),
              ui.calls);
    EXPECT_EQ(reads, fs.readCalls);

    // Forgetting the file (its results were replaced) reads it again.
    viewer.Forget();
    EXPECT_FALSE(viewer.ShowsFile());
    Show(0);
    EXPECT_EQ(reads + 1, fs.readCalls);
}

// The replacement walk writes the file, then tells the viewer: what it shows must be the
// file as it is now, at the place the user looked at.
TEST_F(FileViewerTest, AReplacedPassageReloadsTheShownFileInPlace) {
    tree.Write("a.txt", "alpha beta gamma beta delta");
    AddFile("a.txt", "alpha beta gamma beta delta", {"beta", "gamma", "beta"});
    tree.Write("b.txt", "other beta");
    AddFile("b.txt", "other beta", {"beta"});
    Show(0);
    const int reads = fs.readCalls;
    ui.place = CViewPlace{0, 120};

    // As the walk leaves them: the file rewritten, the result marked and the file's
    // later offsets moved by the change in length.
    tree.Write("a.txt", "alpha BETA-LONG gamma beta delta");
    results[0].flags |= kResultReplaced;
    results[0].end += 5;
    for (std::size_t k = 1; k < 3; ++k) {
        results[k].start += 5;
        results[k].end += 5;
    }
    ui.calls.clear();
    EXPECT_TRUE(viewer.ResultReplaced(results, 0, ui));
    EXPECT_EQ(Calls{}, ui.calls) << "read once the walk has told of the whole file";
    EXPECT_EQ(reads, fs.readCalls);
    viewer.ReloadReplaced(ui);
    EXPECT_EQ((Calls{"redraw off", "font Arial 10", "content text", "mark 16-21", "mark 22-26",
                     "place 0,120", "select 6-15", "redraw on"}),
              ui.calls);
    EXPECT_EQ(reads + 1, fs.readCalls);
    EXPECT_EQ("alpha BETA-LONG gamma beta delta", ui.content);
    EXPECT_EQ((std::vector<std::string>{"gamma", "beta"}), ui.MarkedTexts());
    EXPECT_EQ((std::vector<std::string>{"BETA-LONG"}), ui.SelectedTexts());

    // The walk goes on in the same file without reading it again.
    EXPECT_EQ((Calls{"select 22-26", "redraw on"}), Show(2));
    EXPECT_EQ(reads + 1, fs.readCalls);

    // A file the viewer does not show is none of its business.
    ui.calls.clear();
    EXPECT_FALSE(viewer.ResultReplaced(results, 3, ui));
    EXPECT_FALSE(viewer.ResultReplaced(results, 99, ui));
    viewer.ReloadReplaced(ui);
    EXPECT_EQ(Calls{}, ui.calls);

    // A shown file that cannot be read after the write is let go of, not shown stale.
    fs.failRead[tree.Path("a.txt")] = kestrix::FileFailure::Locked;
    EXPECT_TRUE(viewer.ResultReplaced(results, 1, ui));
    viewer.ReloadReplaced(ui);
    EXPECT_EQ(Calls{}, ui.calls);
    EXPECT_FALSE(viewer.ShowsFile());
}

// Replacing all passages of a shown file tells the viewer of each; it reads the file once,
// when the walk has told of them all, and not at all when it shows another file first.
TEST_F(FileViewerTest, ManyReplacedPassagesReadTheFileOnce) {
    tree.Write("a.txt", "one two one two one");
    AddFile("a.txt", "one two one two one", {"one", "one", "one"});
    tree.Write("b.txt", "one");
    AddFile("b.txt", "one", {"one"});
    Show(0);
    const int reads = fs.readCalls;
    tree.Write("a.txt", "111 two 111 two 111");
    const struct {
        std::size_t index;
        bool due; // what ResultReplaced answers
    } told[] = {{0, true}, {1, false}, {2, false}};
    for (const auto& t : told) {
        SCOPED_TRACE(t.index);
        results[t.index].flags |= kResultReplaced;
        EXPECT_EQ(t.due, viewer.ResultReplaced(results, t.index, ui));
        EXPECT_TRUE(viewer.reloadDue());
    }
    EXPECT_EQ(reads, fs.readCalls);
    ui.calls.clear();
    viewer.ReloadReplaced(ui);
    viewer.ReloadReplaced(ui);
    EXPECT_EQ(reads + 1, fs.readCalls) << "one reading for three passages";
    EXPECT_EQ("111 two 111 two 111", ui.content);
    EXPECT_EQ(std::vector<std::string>{"111"}, ui.SelectedTexts()) << "the last one told of";
    EXPECT_FALSE(viewer.reloadDue());

    // The walk moves on to another file before the reading came: it is not read.
    EXPECT_TRUE(viewer.ResultReplaced(results, 2, ui));
    Show(3);
    const int afterB = fs.readCalls;
    viewer.ReloadReplaced(ui);
    EXPECT_EQ(afterB, fs.readCalls);
    EXPECT_EQ("one", ui.content);

    // Back at the rewritten file with the reading still due: read once, then shown.
    Show(0);
    const int backAtA = fs.readCalls;
    EXPECT_TRUE(viewer.ResultReplaced(results, 0, ui));
    Show(1);
    EXPECT_EQ(backAtA + 1, fs.readCalls);
    EXPECT_FALSE(viewer.reloadDue());
}

TEST_F(FileViewerTest, ADamagedPassageCountStaysWithinThePage) {
    tree.Write("a.txt", "one two");
    AddFile("a.txt", "one two", {"one", "two"});
    results[1].passageCount = 1000;
    results[0].flags &= ~kResultFirstOfFile;
    EXPECT_EQ((Calls{"activate a.txt", "redraw off", "font Arial 10", "content text", "mark 0-3",
                     "mark 4-7", "select 4-7", "redraw on"}),
              Show(1));
    EXPECT_EQ(Calls{}, Show(2));
}

TEST_F(FileViewerTest, AConverterRunsForTheViewerWhenTheSearchUsedOne) {
    ConverterScript& doc = libraries.Add(converters, "doc.cnv", "doc");
    doc.rtf = "{\\rtf1 converted report\\par}";
    tree.Write("report.doc", "binary");
    AddFile("report.doc", "converted report\n", {"report"}, kTextConverted | kTextExternal);
    Show(0);
    EXPECT_EQ(1, doc.converts);
    EXPECT_TRUE(ui.contentIsRtf);
    EXPECT_EQ((std::vector<std::string>{"report"}), ui.MarkedTexts());
}

TEST_F(FileViewerTest, TheFontReachesTheControlWhenAFileIsShown) {
    CViewerFont font;
    font.faceName = "Courier New";
    font.height = 125;
    viewer.SetFont(font, ui);
    EXPECT_EQ(Calls{}, ui.calls);

    tree.Write("a.txt", "text");
    AddListed("a.txt");
    Show(0);
    EXPECT_EQ("font Courier New 12", ui.calls[2]);
    font.faceName = "Arial";
    ui.calls.clear();
    viewer.SetFont(font, ui);
    EXPECT_EQ(Calls{"font Arial 12"}, ui.calls);
}

} // namespace
} // namespace sorbex

namespace sorbex {
namespace {

TEST_F(FileViewerTest, ADecodedFileShowsItsOwnCharactersAndMarksAfterThem) {
    // UTF-8 with a Polish l and an emoji, neither of the code page, before the passage.
    tree.Write("pl.txt", "Bia\xC5\x82ka \xF0\x9F\x98\x80 H\xC3\xBCgel");
    AddFile("pl.txt", "Bia\x81ka \x81 H\xFCgel", {"H\xFCgel"});
    // An HTML page's text comes from the reader, which keeps no characters to put back.
    tree.Write("pl.htm", "<p>Bia\xC5\x82ka H\xC3\xBCgel</p>");
    AddFile("pl.htm", "Bia\x81ka H\xFCgel", {"H\xFCgel"}, kTextConverted);

    const Calls calls = Show(0);
    EXPECT_EQ("Bia\x81ka \x81 H\xFCgel", ui.content);
    EXPECT_EQ(U"\u0142\U0001F600", ui.outside);
    EXPECT_EQ(U"\u0142\U0001F600", viewer.texts().outside);
    // Positions count one per byte of the content; the window adds the second unit.
    for (const char* call : {"mark 9-14", "select 9-14"})
        EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), call)) << call;

    Show(1);
    EXPECT_TRUE(ui.outside.empty());

    // A search told to read files byte for byte found its passage at byte offsets: the
    // viewer, told the same, reads the file again as bytes and marks the same bytes.
    results.RemoveAll();
    AddFile("pl.txt", "Bia\xC5\x82ka \xF0\x9F\x98\x80 H\xC3\xBCgel", {"H\xC3\xBCgel"});
    viewer.SetEncoding(CEncodingChoice::Ansi);
    const Calls bytes = Show(0);
    EXPECT_EQ("Bia\xC5\x82ka \xF0\x9F\x98\x80 H\xC3\xBCgel", ui.content);
    EXPECT_TRUE(ui.outside.empty());
    for (const char* call : {"mark 13-19", "select 13-19"})
        EXPECT_NE(bytes.end(), std::find(bytes.begin(), bytes.end(), call)) << call;
}

} // namespace
} // namespace sorbex
