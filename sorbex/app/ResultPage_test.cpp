// Tests of a result page's text: the header table, the result lines with their styles,
// and the RTF the control receives.
#include "app/HeaderTable.h"

#include <gtest/gtest.h>

#include "app/PageLines.h"
#include "app/RichText.h"

namespace sorbex {
namespace {

std::string Texts(const CTableRow& row) {
    std::string texts;
    for (const CTableCell& cell : row)
        texts += (texts.empty() ? "" : "|") + cell.text;
    return texts;
}

std::vector<int> Widths(const CTableRow& row) {
    std::vector<int> widths;
    for (const CTableCell& cell : row)
        widths.push_back(cell.width);
    return widths;
}

TEST(HeaderTableTest, SixRowsForASearch) {
    CSearchRequest request;
    request.expression = "grey&20colou?r";
    request.fileMask = "*.txt";
    request.directory = "C:\\texts";
    request.matchCase = true;
    CHeaderTable table = BuildHeaderTable(request);
    ASSERT_EQ(6u, table.rows.size());
    EXPECT_EQ("Search Expression|grey&20colou?r", Texts(table.rows[0]));
    EXPECT_EQ("File Mask|*.txt", Texts(table.rows[1]));
    EXPECT_EQ("Directory|C:\\texts", Texts(table.rows[2]));
    EXPECT_EQ("Match whole words|No|Case sensitive|Yes", Texts(table.rows[3]));
    EXPECT_EQ("With Subdirectories|Yes|Search Method|Standard", Texts(table.rows[4]));
    EXPECT_EQ("Passages found||Files found / total|", Texts(table.rows[5]));
    EXPECT_EQ((std::vector<int>{2500, 6500}), Widths(table.rows[0]));
    EXPECT_EQ((std::vector<int>{2500, 1500, 3500, 1500}), Widths(table.rows[5]));
    EXPECT_EQ(CRunStyle::Label, table.rows[3][2].style);
    EXPECT_TRUE(table.rows[5][1].counter && table.rows[5][3].counter);

    CSearchCounters counters;
    counters.passages = 1234;
    counters.filesWithPassages = 3;
    counters.found = 40;
    counters.total = 99;
    SetHeaderCounters(table, counters);
    EXPECT_EQ("Passages found|1234|Files found / total|3 / 40", Texts(table.rows[5]));
}

TEST(HeaderTableTest, PhoneticGreysCaseSensitiveAndSaysNo) {
    CSearchRequest request;
    request.expression = "Meier";
    request.searchMethod = CSearchMethod::Phonetic;
    request.matchCase = true;
    const CHeaderTable table = BuildHeaderTable(request);
    EXPECT_EQ("Match whole words|No|Case sensitive|No", Texts(table.rows[3]));
    EXPECT_EQ(CRunStyle::Greyed, table.rows[3][2].style);
    EXPECT_EQ(CRunStyle::Greyed, table.rows[3][3].style);
    EXPECT_EQ(CRunStyle::Value, table.rows[3][1].style);
    EXPECT_EQ("With Subdirectories|Yes|Search Method|Phonetic", Texts(table.rows[4]));
}

TEST(HeaderTableTest, FourRowsForAListing) {
    CSearchRequest request;
    request.fileMask = "*.log";
    request.directory = "D:\\";
    request.withSubDirectories = false;
    CHeaderTable table = BuildHeaderTable(request);
    ASSERT_EQ(4u, table.rows.size());
    EXPECT_EQ("File Mask|*.log", Texts(table.rows[0]));
    EXPECT_EQ("With Subdirectories|No", Texts(table.rows[2]));
    EXPECT_EQ((std::vector<int>{3000, 6000}), Widths(table.rows[3]));
    EXPECT_EQ(-1, table.passagesCell.row) << "no Passages found";
    CSearchCounters counters;
    counters.listing = true;
    counters.found = 7;
    counters.total = 12;
    SetHeaderCounters(table, counters);
    EXPECT_EQ("Files found / total|7 / 12", Texts(table.rows[3]));
}

CSearchResult Passage(const std::string& excerpt, int excerptStart, int excerptEnd, int start,
                      int flags) {
    CSearchResult r;
    r.excerpt = excerpt;
    r.excerptStart = excerptStart;
    r.excerptEnd = excerptEnd;
    r.start = start;
    r.end = start + (excerptEnd - excerptStart);
    r.dir = "C:\\texts\\";
    r.name = "a.txt";
    r.flags = flags;
    return r;
}

TEST(PageLinesTest, PassageLinesWithTheirFileBar) {
    CRichTextBuilder out;
    CFileFacts facts;
    facts.known = true;
    facts.size = 12345;
    facts.modified = 1000000000;
    const CSearchResult first = Passage("the grey cat", 4, 8, 1234, kResultFirstOfFile);
    const CResultSpan span = AppendResultLines(out, first, 0, facts);
    const std::string& plain = out.plain();
    const std::size_t barEnd = plain.find('\r');
    ASSERT_NE(std::string::npos, barEnd);
    const std::string bar = plain.substr(0, barEnd);
    EXPECT_EQ(0u, bar.find(" a.txt  -  12.345 bytes  -  ")) << bar;
    EXPECT_NE(std::string::npos, bar.find(" at ")) << bar;
    const std::string tail = "  -  C:\\texts\\";
    EXPECT_EQ(bar.size() - tail.size(), bar.rfind(tail)) << bar;
    EXPECT_EQ("1.234\tthe 1grey cat\r", plain.substr(span.lineStart));
    EXPECT_EQ("grey", plain.substr(span.position - 1, 4)) << "stored positions count from 1";
    EXPECT_EQ(plain.size() - 1, span.lineEnd);

    // A later passage of the same file has no bar; a file without readable status has
    // no size and date in its bar.
    CRichTextBuilder more;
    AppendResultLines(more, Passage("grey again", 0, 4, 20, 0), 1, facts);
    EXPECT_EQ("20\t2grey again\r", more.plain());
    CRichTextBuilder unknown;
    AppendResultLines(unknown, Passage("x", 0, 1, 0, kResultFirstOfFile), 0, CFileFacts());
    EXPECT_EQ(" a.txt  -  C:\\texts\\\r0\t1x\r", unknown.plain());
}

TEST(PageLinesTest, EntryLinesOfAListing) {
    CSearchResult dir;
    dir.dir = "C:\\texts\\";
    dir.name = "old";
    dir.flags = kResultFirstOfFile | kResultDirectory;
    CSearchResult file;
    file.dir = "C:\\texts\\";
    file.name = "b.txt";
    CFileFacts facts;
    facts.known = true;
    facts.size = 2048;
    facts.modified = 1000000000;
    CRichTextBuilder out;
    const CResultSpan first = AppendResultLines(out, dir, 0, facts);
    const CResultSpan second = AppendResultLines(out, file, 1, facts);
    const std::string& plain = out.plain();
    EXPECT_EQ(0u, plain.find("C:\\texts\\\r1old\tDirectory\t")) << plain;
    EXPECT_EQ("old", plain.substr(first.position - 1, 3));
    EXPECT_EQ(0u, plain.compare(second.lineStart, 15, "2b.txt\t2.048 by"));
    CRichTextBuilder unknown;
    AppendResultLines(unknown, file, 2, CFileFacts());
    EXPECT_EQ("3b.txt\r", unknown.plain()) << "the line ends even without status";
    EXPECT_TRUE(IsEntryResult(file));
    EXPECT_FALSE(IsEntryResult(Passage("x", 0, 1, 0, 0)));
}

// A decoded file's characters without a code-page form are shown as themselves: one
// control character each, two outside the BMP, and the match's span counts them so.
TEST(PageLinesTest, PassageLinesShowTheFilesOwnCharacters) {
    struct Case {
        const char* name;
        std::vector<COutsideCharacter> outside; // offsets in "\x81 gr\x81y \x81"
        std::vector<std::string> rtf;           // what the page writes for them
        std::string plain;
        std::size_t position; // of the match, counted from 1
    };
    const Case cases[] = {
        {"none", {}, {"\\'81 ", "gr\\'81y"}, "1\t\x81 1gr\x81y \x81\r", 6},
        {"before, in and after the match",
         {{0, U'\u0142'}, {4, U'\u03B1'}, {7, U'\u20AC'}},
         {"\\u322? ", "gr\\u945?y", "\\u8364?"},
         "1\t\x81 1gr\x81y \x81\r",
         6},
        {"outside the BMP before the match",
         {{0, U'\U0001F600'}},
         {"\\u-10179?\\u-8704? ", "gr\\'81y", " \\'81"},
         "1\t\x81\x81 1gr\x81y \x81\r",
         7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSearchResult r = Passage("\x81 gr\x81y \x81", 2, 6, 1, 0);
        r.excerptOutside = c.outside;
        CRichTextBuilder out;
        const CResultSpan span = AppendResultLines(out, r, 0, CFileFacts());
        EXPECT_EQ(c.plain, out.plain());
        EXPECT_EQ(c.plain.size(), out.length());
        EXPECT_EQ(c.position, span.position);
        const std::string rtf = out.Document();
        for (const std::string& piece : c.rtf)
            EXPECT_NE(std::string::npos, rtf.find(piece)) << piece << " in " << rtf;
    }
}

TEST(RichTextTest, RtfCarriesStylesParagraphsAndEscapes) {
    CRichTextBuilder out;
    out.BeginParagraph(CParagraphStyle::Passage);
    out.Append(CRunStyle::Normal, "a{b}\\c\td\xE4\x01");
    out.Append(CRunStyle::Match, "m");
    out.Append(CRunStyle::Index, "");
    out.EndParagraph();
    EXPECT_EQ(12u, out.length()) << "one character per byte and one per paragraph end";
    EXPECT_EQ("a{b}\\c\td\xE4 m\r", out.plain()) << "escapes between plain runs";
    const std::string rtf = out.Document();
    EXPECT_EQ(0u, rtf.find("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_NE(std::string::npos, rtf.find("\\pard\\fi-1000\\li1000\\tx1000"));
    EXPECT_NE(std::string::npos, rtf.find("a\\{b\\}\\\\c\\tab d\\'e4 \\cf4 m")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\par"));
    EXPECT_EQ('}', rtf.back());

    CRichTextBuilder table;
    table.AppendTable({{{"L", CRunStyle::Label, 2500, false}, {"", CRunStyle::Value, 6500, true}}});
    EXPECT_EQ(0u, table.length()) << "the control measures tables";
    EXPECT_EQ("L\t\x01\t\r", table.plain());
    const std::string tableRtf = table.Document();
    EXPECT_NE(std::string::npos, tableRtf.find("\\cellx2500"));
    EXPECT_NE(std::string::npos, tableRtf.find("\\cellx9000")) << "cell edges add up";
    EXPECT_NE(std::string::npos, tableRtf.find("\\u8203?")) << "the counter mark";
    EXPECT_NE(std::string::npos, tableRtf.find("\\trpaddl5"));
}

// The RTF says each change of look once, where it happens, and nothing where the look
// stays: the control reads every code as a change of its own.
TEST(RichTextTest, RtfChangesLooksOnlyWhereTheyChange) {
    using Fill = void (*)(CRichTextBuilder&);
    struct Case {
        const char* name;
        Fill fill;
        const char* body; // what follows the document's tables
    };
    const Case cases[] = {
        {"a file bar and two passages",
         [](CRichTextBuilder& out) {
             out.BeginParagraph(CParagraphStyle::Bar);
             out.Append(CRunStyle::Bar, " f.txt");
             out.EndParagraph();
             for (const char* index : {"1", "2"}) {
                 out.BeginParagraph(CParagraphStyle::Passage);
                 out.Append(CRunStyle::Normal, "10\t");
                 out.Append(CRunStyle::Normal, "a ");
                 out.Append(CRunStyle::Index, index);
                 out.Append(CRunStyle::Match, "grey");
                 out.Append(CRunStyle::Normal, " cat");
                 out.EndParagraph();
             }
         },
         "\\pard\\sb80\\sa80 \\plain\\f0\\fs22\\cf2\\highlight3  f.txt\\cf1\\highlight2 \\par\n"
         "\\pard\\fi-1000\\li1000\\tx1000 10\\tab a \\cf2\\highlight3 1\\cf4\\highlight2 grey"
         "\\cf1  cat\\par\n"
         "\\pard\\fi-1000\\li1000\\tx1000 10\\tab a \\cf2\\highlight3 2\\cf4\\highlight2 grey"
         "\\cf1  cat\\par\n"},
        {"a listed entry without status ends in plain text",
         [](CRichTextBuilder& out) {
             out.BeginParagraph(CParagraphStyle::Listing);
             out.Append(CRunStyle::Index, "1");
             out.Append(CRunStyle::Bar, "");
             out.Append(CRunStyle::Match, "a.txt");
             out.EndParagraph();
         },
         "\\pard\\tx3000\\tx5000 \\plain\\f0\\fs22\\cf2\\highlight3 1\\cf4\\highlight2 a.txt"
         "\\cf1 \\par\n"},
        {"header looks: bold on and off, sizes",
         [](CRichTextBuilder& out) {
             out.Append(CRunStyle::Label, "L");
             out.Append(CRunStyle::Greyed, "G");
             out.Append(CRunStyle::Value, "V");
             out.Append(CRunStyle::Index, "I");
         },
         "\\plain\\f0\\fs20\\b\\cf1\\highlight2 L\\b0\\cf5 G\\cf1 V\\fs22\\cf2\\highlight3 I"},
        {"after a table the look is written whole",
         [](CRichTextBuilder& out) {
             out.AppendTable({{{"L", CRunStyle::Label, 2500, false}}});
             out.Append(CRunStyle::Normal, "n");
         },
         "\\pard\n\\plain\\f0\\fs22\\cf1\\highlight2 n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRichTextBuilder out;
        c.fill(out);
        const std::string rtf = out.Document();
        const std::string body = c.body;
        ASSERT_GE(rtf.size(), body.size() + 1);
        EXPECT_EQ(body, rtf.substr(rtf.size() - 1 - body.size(), body.size())) << rtf;
    }
}

// The looks of the styles, and the RTF codes made from them.
TEST(RichTextTest, LooksOfTheStyles) {
    EXPECT_TRUE(LookOf(CRunStyle::Label).bold);
    EXPECT_EQ(20, LookOf(CRunStyle::Value).halfPoints);
    EXPECT_EQ(CColour::Blue, LookOf(CRunStyle::Index).back);
    EXPECT_EQ(CColour::Red, LookOf(CRunStyle::Match).text);
    EXPECT_EQ(255, ColourValue(CColour::Red).red);
    EXPECT_EQ(0, ColourValue(CColour::Red).green);
    EXPECT_EQ((std::vector<int>{3000, 5000}), LookOf(CParagraphStyle::Listing).tabs);
    const CParagraphLook passage = LookOf(CParagraphStyle::Passage);
    EXPECT_EQ(0, passage.left + passage.firstLine) << "the first line starts at the margin";
    CRichTextBuilder out;
    out.BeginParagraph(CParagraphStyle::Bar);
    out.Append(CRunStyle::Label, "x");
    out.EndParagraph();
    const std::string rtf = out.Document();
    EXPECT_NE(std::string::npos, rtf.find("\\pard\\sb80\\sa80")) << rtf;
    EXPECT_NE(std::string::npos, rtf.find("\\fs20\\b\\cf1\\highlight2 x")) << rtf;
}

} // namespace
} // namespace sorbex
