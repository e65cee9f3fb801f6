// Tests of the preparation of file bytes for searching.
#include "cli/CleanText.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(CleanTextTest, KeepsOffsetsAndTurnsControlsIntoBreaksOrSpaces) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a\r\nb", "a\n\nb"},
        {"a\rb\n", "a\nb\n"},
        {"a\tb", "a b"},
        {std::string("a\0b", 3), "a b"},
        {"\x01\x1F\x20\x7F", "   \x7F"},
        {"gr\xF6\xDF\x65 \x80\xFF", "gr\xF6\xDF\x65 \x80\xFF"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.in));
        const std::string text = CleanText(c.in);
        EXPECT_EQ(c.out, text);
        EXPECT_EQ('\0', text.c_str()[text.size()]);
    }
}

} // namespace
} // namespace sorbex
