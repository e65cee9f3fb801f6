// Tests of the RTF reader: golden files, and where and why a damaged document stops.
#include "text/RtfToText.h"

#include <gtest/gtest.h>

#include "text/ReaderGolden_test.h"

namespace sorbex {
namespace {

// Each testdata/rtf/NAME.rtf must read as exactly testdata/rtf/NAME.txt.
TEST(RtfToTextTest, GoldenFiles) {
    const auto cases = LoadGoldenCases("rtf", ".rtf");
    ASSERT_FALSE(cases.empty());
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.hasExpected) << "no .txt beside it";
        EXPECT_EQ(c.expected, RtfToText(c.input));
    }
}

// A damaged document keeps the text before the damage, and says what and where.
TEST(RtfToTextTest, StopsAtDamageKeepingTheTextBefore) {
    struct Case {
        const char* name;
        std::string rtf;
        std::string text;
        RtfStop stop;
        std::size_t position;
    };
    const Case cases[] = {
        {"complete", "{\\rtf1 ab}", "ab", RtfStop::None, 0},
        {"unbalanced open braces are accepted", "{{{ab", "ab", RtfStop::None, 0},
        {"bad hex digit", "{ab\\'4g cd}", "ab", RtfStop::BadHexDigit, 6},
        {"stray close brace", "ab}cd", "ab", RtfStop::UnbalancedBrace, 2},
        {"backslash last", "ab\\", "ab", RtfStop::TruncatedControl, 2},
        {"minus last", "ab\\li-", "ab", RtfStop::TruncatedControl, 2},
        {"word at the end is not text", "ab\\pard", "ab", RtfStop::None, 0},
        {"binary count past the end", "a\\bin99999999999999999999999 xyz", "axyz", RtfStop::None,
         0},
        {"negative binary count reads one byte", "\\bin-5 xy", "xy", RtfStop::None, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfReadResult result = ReadRtf(c.rtf);
        EXPECT_EQ(c.text, result.text);
        EXPECT_EQ(c.stop, result.stop);
        if (c.stop != RtfStop::None) {
            EXPECT_EQ(c.position, result.position);
        }
    }
}

// Deep nesting is limited by memory only, and every group is released.
TEST(RtfToTextTest, DeepNesting) {
    const std::size_t depth = 100000;
    const std::string rtf = std::string(depth, '{') + "x" + std::string(depth, '}');
    const RtfReadResult result = ReadRtf(rtf);
    EXPECT_EQ("x", result.text);
    EXPECT_EQ(RtfStop::None, result.stop);
}

} // namespace
} // namespace sorbex
