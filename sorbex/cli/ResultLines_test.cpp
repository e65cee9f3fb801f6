// Tests of the printed lines of a result page.
#include "cli/ResultLines.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace sorbex {
namespace {

TEST(ResultLinesTest, PassageLinesMarkThePassageInTheExcerpt) {
    struct Case {
        const char* what;
        const char* text;
        int start;
        int end;
        CHighlight highlight;
        const char* line;
    };
    const Case cases[] = {
        {"brackets", "a grey day", 2, 6, CHighlight::Brackets, "  2-6: a [[grey]] day"},
        {"colour", "a grey day", 2, 6, CHighlight::Colour, "  2-6: a \x1b[1;31mgrey\x1b[0m day"},
        {"at the start", "grey", 0, 4, CHighlight::Brackets, "  0-4: [[grey]]"},
        {"second line", "one\n  two three  \n", 6, 9, CHighlight::Brackets, "  6-9: [[two]] three"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text = c.text;
        const CSearchResult result(text.c_str(), text.size(), c.start, c.end, "d/", "f");
        EXPECT_EQ(c.line, FormatPassageLine(result, c.highlight));
    }
}

TEST(ResultLinesTest, LongPassagesAndFilesWithoutPassage) {
    const std::string text(700, 'x');
    const CSearchResult longPassage(text.c_str(), text.size(), 0, 600, "d/", "f");
    EXPECT_EQ("  0-600: [[" + std::string(510, 'x') + "...]]",
              FormatPassageLine(longPassage, CHighlight::Brackets));

    CSearchResult whole;
    whole.name = "f";
    EXPECT_EQ("  (the file matches as a whole)", FormatPassageLine(whole, CHighlight::Colour));
}

TEST(ResultLinesTest, FileLinesShowSizeOrDirectory) {
    const std::regex file("a\\.txt  1234 bytes  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d  /x/");
    EXPECT_TRUE(std::regex_match(FormatFileLine("a.txt", "/x/", false, 1234, 86400 * 365), file));
    const std::regex dir("sub  <DIR>  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d  /x/");
    EXPECT_TRUE(std::regex_match(FormatFileLine("sub", "/x/", true, 0, 0), dir));
}

} // namespace
} // namespace sorbex
