// Tests of the viewer's texts: line ends, the clean-up for display, picture names, and
// how a result's file is read again to be shown.
#include "viewer/ViewerText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "text/CleanText.h"
#include "text/FileTextLoader.h"
#include "text/ScriptedConverters_test.h"
#include "text/TextOrigin.h"
#include "text/TextSink.h"

namespace sorbex {
namespace {

TEST(NormaliseLineEndsTest, EveryBreakBecomesCrLf) {
    struct Case {
        const char* what;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"lone CR, lone LF, LF CR", "a\rb\nc\n\rd", "a\r\nb\r\nc\r\nd"},
        {"CR LF stays", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"empty", "", ""},
        {"two lone CRs", "\r\r", "\r\n\r\n"},
        {"LF CR then a lone LF", "\n\r\n", "\r\n\r\n"},
        {"CR LF then a lone CR", "\r\n\r", "\r\n\r\n"},
        {"LF CR pairs alone are turned too", "a\n\rb\n\r", "a\r\nb\r\n"},
        {"other control bytes stay",
         std::string("a\tb\x15"
                     "c\0d",
                     7),
         std::string("a\tb\x15"
                     "c\0d",
                     7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, NormaliseLineEnds(c.text));
    }
}

TEST(CleanForDisplayTest, BlanksControlBytesAndDisarmsUnreadRtf) {
    struct Case {
        const char* what;
        std::string raw;
        bool rtf;
        std::string expected;
    };
    const Case cases[] = {
        {"control bytes but TAB, LF and CR", std::string("a\0b\x01\tc\n\r\x1f\x7f\xff", 11), false,
         std::string("a b \tc\n\r \x7f\xff", 11)},
        {"RTF source shown as text", "{\\rtf1 \\b bold\\b0}", true, "{/rtf1 \\b bold\\b0}"},
        {"one byte of RTF", "{", true, "{"},
        {"a text file keeps its second byte", "{\\rtf1}", false, "{\\rtf1}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string raw = c.raw;
        CleanForDisplay(raw, c.rtf);
        EXPECT_EQ(c.expected, raw);
    }
}

TEST(IsPictureNameTest, FourTypesAlwaysAndGifOnRequest) {
    struct Case {
        const char* name;
        bool gif;
        bool expected;
    };
    const Case cases[] = {
        {"photo.bmp", false, true}, {"PHOTO.BMP", false, true},      {"chart.wmf", false, true},
        {"chart.EMF", false, true}, {"photo.jpg", false, true},      {"photo.jpeg", false, false},
        {"anim.gif", false, false}, {"anim.gif", true, true},        {"anim.GIF", true, true},
        {"bmp", false, false},      {"photo.jpg.txt", false, false}, {"a.b.jpg", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.gif ? " with Gif" : ""));
        EXPECT_EQ(c.expected, IsPictureName(c.name, c.gif));
    }
}

// The text the search loads for a file, to check the viewer's against.
class SearchedTextSink : public CTextSink {
public:
    std::string text;
    int flags = -1;
    void ProcessMessages() override {}
    bool CancelRequested() const override { return false; }
    void SearchText(const std::shared_ptr<const std::string>& t, int originFlags) override {
        text = *t;
        flags = originFlags;
    }
};

class LoadViewerTextsTest : public ::testing::Test {
protected:
    LoadViewerTextsTest() {
        ConverterScript& doc = libraries.Add(converters, "doc.cnv", "doc");
        doc.rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 converted {\\b text}\\par second\\par}";
        libraries.Add(converters, "empty.cnv", "nul");
    }

    // Loads `name` as the viewer would for a result with `flags`, a passage or none.
    CViewerTexts Load(const std::string& name, int flags, bool hasPassage,
                      CViewerOptions options = {}) {
        CViewerSource source;
        source.flags = flags;
        source.hasPassage = hasPassage;
        CViewerTexts texts;
        EXPECT_FALSE(LoadViewerTexts(fs, &converters, tree.root(), name, source, options, texts));
        return texts;
    }
    // The text a search with these filters hands to the search engine, and its flags.
    SearchedTextSink Search(const std::string& name, bool internal, bool external) {
        CFileTextLoader loader(fs);
        loader.SetConverters(&converters);
        CTextLoadOptions options;
        options.useInternalFilter = internal;
        options.useExternalFilter = external;
        SearchedTextSink sink;
        loader.LoadFileText(tree.root(), name, options, &sink);
        return sink;
    }
    static std::string Cleaned(std::string text) {
        CleanText(&text[0], text.size());
        return text;
    }

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    ScriptedLoader libraries;
    CTextConverterList converters;
};

TEST_F(LoadViewerTextsTest, EachKindOfFileIsShownAsTheUserKnowsIt) {
    tree.Write("notes.txt", std::string("one\ttwo\0three\nfour\r\n", 20));
    tree.Write("page.htm", "<p>Hello <b>world</b></p><p>again &amp; again</p>");
    tree.Write("letter.rtf", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Dear {\\b reader}\\par}");
    tree.Write("report.doc", "binary document");
    struct Case {
        const char* name;
        int flags;
        std::string shown;
        bool formatted;
        bool hasPlain;
    };
    const Case cases[] = {
        {"notes.txt", 0, std::string("one\ttwo three\nfour\r\n"), false, false},
        {"page.htm", kTextConverted, "Hello world\r\n\r\nagain & again\r\n\r\n", false, true},
        {"page.htm", 0, "<p>Hello <b>world</b></p><p>again &amp; again</p>", false, false},
        {"letter.rtf", kTextConverted,
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Dear {\\b reader}\\par}", true, true},
        {"letter.rtf", 0, "{/rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Dear {\\b reader}\\par}", false,
         false},
        {"report.doc", kTextConverted | kTextExternal,
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 converted {\\b text}\\par second\\par}", true, true},
        {"report.doc", 0, "binary document", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " flags " + std::to_string(c.flags));
        const CViewerTexts texts = Load(c.name, c.flags, true);
        EXPECT_EQ(c.shown, texts.Shown());
        EXPECT_EQ(c.formatted, texts.Formatted());
        EXPECT_EQ(c.hasPlain, texts.plain.has_value());
    }
}

TEST_F(LoadViewerTextsTest, ThePassagesCountInTheTextTheSearchSaw) {
    // The search cleans its text; the viewer keeps TABs and CRs for the control, which
    // changes no offset. Whatever the filters were, the two texts have the same bytes.
    tree.Write("notes.txt", std::string("one\ttwo\0three\r\nfour\rfive", 24));
    tree.Write("page.htm", "<ul><li>first<li>second</ul><pre>a\tb\nc</pre>&eacute;t&eacute;");
    tree.Write("letter.rtf", "{\\rtf1 Dear\\tab {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt "
                             "site}}\\par\\'e9t\\'e9\\cell\\row}");
    tree.Write("report.doc", "binary document");
    // An RTF file shown as its source differs in its second byte only.
    struct Case {
        const char* name;
        bool internal;
        bool external;
        bool slash;
    };
    const Case cases[] = {
        {"notes.txt", true, true, false},    {"page.htm", true, false, false},
        {"page.htm", false, false, false},   {"letter.rtf", true, false, false},
        {"letter.rtf", false, false, true},  {"report.doc", true, true, false},
        {"report.doc", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.internal ? " internal" : "") +
                     (c.external ? " external" : ""));
        SearchedTextSink searched = Search(c.name, c.internal, c.external);
        ASSERT_GE(searched.flags, 0);
        const CViewerTexts texts = Load(c.name, searched.flags, true);
        if (c.slash)
            searched.text[1] = '/';
        EXPECT_EQ(searched.text, Cleaned(texts.Searched()));
    }
}

TEST_F(LoadViewerTextsTest, AListedFileIsReadAsTheOptionsSay) {
    tree.Write("page.htm", "<p>Hello</p>");
    tree.Write("report.doc", "binary document");
    struct Case {
        const char* name;
        bool internal;
        bool external;
        std::string shown;
    };
    const Case cases[] = {
        {"page.htm", true, true, "Hello\r\n\r\n"},
        {"page.htm", false, true, "<p>Hello</p>"},
        {"report.doc", true, true,
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 converted {\\b text}\\par second\\par}"},
        {"report.doc", true, false, "binary document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.internal ? " internal" : "") +
                     (c.external ? " external" : ""));
        CViewerOptions options;
        options.useInternalFilter = c.internal;
        options.useExternalFilter = c.external;
        EXPECT_EQ(c.shown, Load(c.name, 0, false, options).Shown());
    }
}

TEST_F(LoadViewerTextsTest, ConvertersRunOnlyWhenTheSearchUsedOne) {
    tree.Write("report.doc", "binary document");
    tree.Write("page.htm", "<p>Hello</p>");
    tree.Write("silent.nul", "nothing converts this");
    const ConverterScript& doc = libraries.libraries["doc.cnv"];
    ConverterScript& web = libraries.Add(converters, "web.cnv", "htm");
    web.rtf = "{\\rtf1 converted {\\b page}\\par}";

    // A passage found in the raw file: its offsets are the raw file's.
    EXPECT_EQ("binary document", Load("report.doc", 0, true).Shown());
    EXPECT_EQ(0, doc.loads);
    // A converter's HTML output is RTF like any other.
    const CViewerTexts html = Load("page.htm", kTextConverted | kTextExternal, true);
    EXPECT_TRUE(html.Formatted());
    EXPECT_EQ("converted page\n", *html.plain);
    EXPECT_EQ(1, web.converts);
    // A converter that produces nothing leaves the file's bytes.
    EXPECT_EQ("nothing converts this",
              Load("silent.nul", kTextConverted | kTextExternal, true).Shown());
}

TEST_F(LoadViewerTextsTest, AFileThatCannotBeReadLeavesTheTextsAlone) {
    tree.Write("locked.txt", "locked");
    fs.failRead[tree.Path("locked.txt")] = kestrix::FileFailure::Locked;
    CViewerTexts texts;
    texts.raw = "kept";
    const CViewerOptions options;
    const CViewerSource source;
    for (const char* name : {"locked.txt", "missing.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(LoadViewerTexts(fs, &converters, tree.root(), name, source, options, texts));
        EXPECT_EQ("kept", texts.raw);
    }
}

TEST(ControlContentTest, RtfReachesTheControlByteForByte) {
    // Binary picture data may hold line-break bytes; a CR put before an LF there would
    // damage the picture and throw the reading of the rest of the document off.
    CViewerTexts rtf;
    rtf.raw = "{\\rtf1 a\n{\\pict\\bin4 \r\n\n\r}b\\par}";
    rtf.plain = "a b\n";
    rtf.rtf = true;
    EXPECT_EQ(rtf.raw, ControlContent(rtf));

    CViewerTexts source = rtf;
    source.plain.reset();
    EXPECT_EQ("{\\rtf1 a\r\n{\\pict\\bin4 \r\n\r\n}b\\par}", ControlContent(source));

    CViewerTexts html;
    html.raw = "<p>a</p>";
    html.plain = "a\r\n\r\nb\nc";
    EXPECT_EQ("a\r\n\r\nb\r\nc", ControlContent(html));
}

} // namespace
} // namespace sorbex
