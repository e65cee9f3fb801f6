// Tests of the cleaning of control bytes in searched texts.
#include "text/CleanText.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(CleanTextTest, ControlBytesBecomeBlanksAndLineFeeds) {
    struct Case {
        const char* name;
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"tab is a blank", "a\tb", "a b"},
        {"CR LF is two line feeds", "a\r\nb", "a\n\nb"},
        {"lone CR is a line feed", "a\rb", "a\nb"},
        {"NUL is a blank", std::string("a\0b", 3), "a b"},
        {"every other control byte", "\x01\x08\x0b\x0c\x1b\x1f", "      "},
        {"blank, DEL and high bytes stay", " \x7f\x80\xa0\xff", " \x7f\x80\xa0\xff"},
        {"line feed stays", "\n", "\n"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = c.in;
        CleanText(&text[0], text.size());
        EXPECT_EQ(c.out, text);
    }
}

TEST(CleanTextTest, TouchesNothingBeyondTheLength) {
    char buffer[] = "a\tb\tc";
    CleanText(buffer, 2);
    EXPECT_STREQ("a b\tc", buffer);
}

// Every byte value at every position of a long, unaligned run, so that the wide inner
// loop and the bytes before and after it are all held to the same rule.
TEST(CleanTextTest, EveryByteValueAtEveryAlignment) {
    std::string in;
    for (int round = 0; round < 5; ++round)
        for (int value = 0; value < 256; ++value)
            in += static_cast<char>((value * 7 + round) & 0xFF);
    for (std::size_t offset : {0u, 1u, 3u, 15u, 17u}) {
        SCOPED_TRACE(offset);
        std::string text = "#" + in + "#";
        const std::size_t length = in.size() - 2 * offset;
        CleanText(&text[1 + offset], length);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto before =
                static_cast<unsigned char>(i == 0 || i == text.size() - 1 ? '#' : in[i - 1]);
            const bool inside = i >= 1 + offset && i < 1 + offset + length;
            unsigned char expected = before;
            if (inside && (before == '\r' || before == '\n'))
                expected = '\n';
            else if (inside && before < 32)
                expected = ' ';
            ASSERT_EQ(expected, static_cast<unsigned char>(text[i])) << "at " << i;
        }
    }
}

} // namespace
} // namespace sorbex
