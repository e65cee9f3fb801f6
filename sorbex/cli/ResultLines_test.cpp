// Tests of the printed lines of a result page.
#include "cli/ResultLines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <limits>
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

// The date as the system shows it, formatted afresh each time.
std::string ExpectedDate(std::int64_t modified) {
    const auto seconds = static_cast<std::time_t>(modified);
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0)
        return "----------------";
#else
    if (!localtime_r(&seconds, &local))
        return "----------------";
#endif
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return "----------------";
    return text;
}

TEST(ResultLinesTest, DatesInARowEachShowTheirOwnTime) {
    // 2021-06-30 23:59:59 UTC: the next second is another minute, hour, day and month
    // in any zone whose offset is whole minutes.
    const std::int64_t lastSecond = 1625097599;
    const std::int64_t unshowable = std::numeric_limits<std::int64_t>::max();
    const std::int64_t times[] = {lastSecond, lastSecond,     lastSecond + 1, lastSecond,
                                  unshowable, lastSecond + 1, unshowable,     0,
                                  lastSecond - 59};
    for (const std::int64_t t : times) {
        SCOPED_TRACE(t);
        EXPECT_EQ(ExpectedDate(t), FormatDate(t));
        EXPECT_EQ("f  1 bytes  " + ExpectedDate(t) + "  /x/",
                  FormatFileLine("f", "/x/", false, 1, t));
    }
    EXPECT_NE(FormatDate(lastSecond), FormatDate(lastSecond + 1));
    EXPECT_EQ("----------------", FormatDate(unshowable));
}

TEST(ResultLinesTest, FileLinesEscapeControlBytesAndShowAnySize) {
    const std::string date = ExpectedDate(0);
    struct Case {
        std::string name;
        std::string dir;
        std::uint64_t size;
        std::string line;
    };
    const Case cases[] = {
        {"plain", "/x/", 0, "plain  0 bytes  " + date + "  /x/"},
        {"a\tb", "/x/", 7, "a\\x09b  7 bytes  " + date + "  /x/"},
        {"\x1b[2Jz\x7f", "/\n/", 7, "\\x1B[2Jz\\x7F  7 bytes  " + date + "  /\\x0A/"},
        {std::string("n\0ul", 4), "/x/", 18446744073709551615u,
         "n\\x00ul  18446744073709551615 bytes  " + date + "  /x/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.line, FormatFileLine(c.name, c.dir, false, c.size, 0));
        std::string appended = "before ";
        AppendFileLine(appended, c.name, c.dir, false, c.size, 0);
        EXPECT_EQ("before " + c.line, appended);
    }
}

} // namespace
} // namespace sorbex
