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

// The ASCII start is cleaned as CleanText cleans it and not a byte further: the first
// high byte may stand anywhere in a 64-byte or sixteen-byte block or an eight-byte
// word, past a first whole block or not, or right after a control byte that the block
// would change.
TEST(CleanTextTest, TheAsciiStartEndsAtTheFirstHighByte) {
    std::string ascii;
    for (int i = 0; i < 150; ++i)
        ascii += static_cast<char>((i * 5) % 128); // control bytes among the others
    for (std::size_t offset : {0u, 1u, 7u}) {
        for (std::size_t high = 0; high <= 140; ++high) {
            for (const char highByte : {'\x80', '\xC3', '\xFF'}) {
                SCOPED_TRACE(testing::Message() << "offset " << offset << ", high byte at " << high
                                                << ", value " << (static_cast<int>(highByte) & 0xFF));
                // A control byte after the high one must stay as it is.
                const std::string in = ascii.substr(0, high) + highByte + "\t\r" + ascii.substr(high);
                std::string text = std::string(offset, '#') + in;
                const std::size_t cleaned = CleanAsciiStart(&text[offset], in.size());
                ASSERT_EQ(high, cleaned);
                std::string expected = in;
                CleanText(&expected[0], high);
                ASSERT_EQ(std::string(offset, '#') + expected, text);
            }
        }
    }
    std::string all = ascii + ascii;
    std::string expected = all;
    CleanText(&expected[0], expected.size());
    EXPECT_EQ(all.size(), CleanAsciiStart(&all[0], all.size()));
    EXPECT_EQ(expected, all);
    EXPECT_EQ(0u, CleanAsciiStart(nullptr, 0));
}

} // namespace
} // namespace sorbex
