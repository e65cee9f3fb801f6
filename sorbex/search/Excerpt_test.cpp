// Tests of the excerpt around a passage: the four line cases, the limits and trimming.
#include "search/Excerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

std::string Words(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "word ";
    return text;
}

TEST(ExcerptTest, Table) {
    struct Case {
        const char* name;
        std::string text;
        int start;
        int end;
        int excerptFrom; // expected excerpt: text.substr(excerptFrom, excerptLength)
        int excerptLength;
    };
    const std::string words400 = Words(400);
    const Case cases[] = {
        {"short line without its blanks", "first\n   the quick fox  \nlast", 13, 18, 9, 13},
        {"passage at offset 0", "hello world", 0, 5, 0, 11},
        {"passage at the text's end", "abc def", 4, 7, 0, 7},
        {"empty text", "", 0, 0, 0, 0},
        {"passage over line breaks", "ab\ncd\nef", 1, 7, 0, 8},
        {"form feed ends a line", "one\ftwo three\rfour", 4, 7, 4, 9},
        // No line start or end within reach: about 127 before the middle, cut at blanks.
        {"neither found", words400, 1000, 1004, 880, 254},
        // Line start found, end not: from the line's start, cut at the last blank.
        {"start found only", "head\n" + words400, 15, 19, 5, 254},
        // Line end found, start not: the line's end, start moved back to a blank.
        {"end found only", words400 + "\ntail", 1990, 1994, 1750, 249},
        // Both found in a long line; more of it after the passage.
        {"long line, more after", "x\n" + Words(60) + "\ny", 102, 106, 2, 254},
        // Both found in a long line; more of it before the passage.
        {"long line, more before", "x\n" + Words(80) + "\ny", 202, 206, 152, 249},
        {"passage longer than 510", std::string(2000, 'x'), 100, 800, 100, 510},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CExcerpt e = BuildExcerpt(c.text.data(), c.text.size(), c.start, c.end);
        EXPECT_EQ(c.text.substr(c.excerptFrom, c.excerptLength), e.text);
        EXPECT_EQ(c.start - c.excerptFrom, e.passageStart);
        EXPECT_EQ(std::min(c.end - c.excerptFrom, c.excerptLength), e.passageEnd);
    }
}

TEST(ExcerptTest, OffsetsOutsideTheTextAreClamped) {
    const std::string text = "abc";
    const CExcerpt e = BuildExcerpt(text.data(), text.size(), 2, 10);
    EXPECT_EQ("abc", e.text);
    EXPECT_EQ(2, e.passageStart);
    EXPECT_EQ(3, e.passageEnd);
}

// Every passage of a text with lines of all sizes: the excerpt always holds the passage
// (or its first 510 characters) at the place it reports, and never grows past the limits.
TEST(ExcerptTest, HoldsThePassageWhereverItIs) {
    std::string text;
    for (int line = 0; line < 12; ++line) {
        text += Words(line * line) + std::string(static_cast<std::size_t>(line * 37), 'y');
        text += line % 3 == 0 ? "\r\n" : "\n";
    }
    const int n = static_cast<int>(text.size());
    for (int length : {0, 1, 7, 300, 600}) {
        for (int a = 0; a + length <= n; a += 13) {
            SCOPED_TRACE(testing::Message() << "passage " << a << "+" << length);
            const CExcerpt e = BuildExcerpt(text.data(), text.size(), a, a + length);
            ASSERT_LE(e.text.size(), static_cast<std::size_t>(kMaxExcerptLength));
            ASSERT_LE(0, e.passageStart);
            ASSERT_LE(e.passageStart, e.passageEnd);
            ASSERT_LE(e.passageEnd, static_cast<int>(e.text.size()));
            ASSERT_EQ(std::min(length, kMaxExcerptLength), e.passageEnd - e.passageStart);
            ASSERT_EQ(text.substr(a, e.passageEnd - e.passageStart),
                      e.text.substr(e.passageStart, e.passageEnd - e.passageStart));
            if (length < kExcerptReach) {
                ASSERT_LE(e.text.size(), static_cast<std::size_t>(kExcerptReach) + length);
            }
        }
    }
}

} // namespace
} // namespace sorbex
