// Tests of the HTML reader: golden files, and the texts that outgrow their HTML.
#include "text/HtmlToText.h"

#include <gtest/gtest.h>

#include "text/ReaderGolden_test.h"

namespace sorbex {
namespace {

// Each testdata/html/NAME.html must convert to exactly testdata/html/NAME.txt.
TEST(HtmlToTextTest, GoldenFiles) {
    const auto cases = LoadGoldenCases("html", ".html");
    ASSERT_FALSE(cases.empty());
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.hasExpected) << "no .txt beside it";
        EXPECT_EQ(c.expected, HtmlToText(c.input));
    }
}

// A paragraph after text writes four bytes for the three of "<p>", so the text can
// be longer than the HTML; nothing of the input may be lost to that.
TEST(HtmlToTextTest, ParagraphBreaksMayOutgrowTheInput) {
    std::string html;
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        html += "x<p>";
        expected += i == 0 ? "x" : "\r\n\r\nx";
    }
    html += "end<p";
    expected += "\r\n\r\nend\r\n\r\n";
    EXPECT_EQ(expected, HtmlToText(html));
    EXPECT_GT(HtmlToText(html).size(), html.size());
}

// Constructs cut by the end of the input read no further than it.
TEST(HtmlToTextTest, InputEndingInsideAConstruct) {
    struct Case {
        const char* name;
        std::string html;
        std::string text;
    };
    const Case cases[] = {
        {"open tag", "a<b", "a"},
        {"lone <", "a<", "a"},
        {"reference", "a&amp", "a&amp"},
        {"lone &", "a&", "a&"},
        {"< while skipping", "<script>a<", ""},
        {"cut closing tag", "<style>a</st", ""},
        {"name buffer full", "<p" + std::string(5000, 'x') + ">a", "a"},
        {"reference name too long", "&" + std::string(1024, 'x') + ";",
         "&" + std::string(1024, 'x') + ";"},
        // Issue 21: every "&" of a run looked up to 1,023 bytes ahead (a 50 MB file of
        // them took half a minute); the run is now looked at once, with the same text.
        {"run of &", std::string(3000, '&'), std::string(3000, '&')},
        // The first "&" that reaches the ";" (the 1,024th byte after it) takes all up
        // to it as one unknown name.
        {"run of & before a reference", std::string(3000, '&') + "amp;x",
         std::string(1979, '&') + "x"},
        {"run of & ending in a blank", std::string(1500, '&') + " &amp;",
         std::string(1500, '&') + " &"},
        {"first & just reaches the ;", "&&" + std::string(1022, 'x') + ";", ""},
        {"second & just reaches the ;", "&&" + std::string(1023, 'x') + ";", "&"},
        {"neither & reaches the ;", "&&" + std::string(1024, 'x') + ";",
         "&&" + std::string(1024, 'x') + ";"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, HtmlToText(c.html));
    }
}

} // namespace
} // namespace sorbex
