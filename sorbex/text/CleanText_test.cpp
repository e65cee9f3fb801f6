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

} // namespace
} // namespace sorbex
