// Tests of the conversion between Windows-1252 and UTF-8.
#include "cli/Cp1252.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace sorbex {
namespace {

TEST(Cp1252Test, ConvertsBothWays) {
    struct Case {
        std::string cp1252;
        std::string utf8;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"Gr\xF6\xDF\x65", "Gr\xC3\xB6\xC3\x9F\x65"},
        {"\xC4\xD6\xDC\xE4\xF6\xFC", "\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6\xC3\xBC"},
        {"\x80", "\xE2\x82\xAC"}, // euro sign
        {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {"\x81", "\xC2\x81"}, // undefined in the code page: the C1 control
        {"\xFF", "\xC3\xBF"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.cp1252));
        EXPECT_EQ(c.utf8, Cp1252ToUtf8(c.cp1252));
        std::string back;
        ASSERT_TRUE(Utf8ToCp1252(c.utf8, back));
        EXPECT_EQ(c.cp1252, back);
    }
}

TEST(Cp1252Test, RefusesWhatTheCodePageCannotHold) {
    const char* const cases[] = {
        "\xE2\x82",         // cut short
        "\xC3",             // cut short at the end
        "\xF6",             // a Windows-1252 byte, not UTF-8
        "\xC0\xAF",         // overlong
        "\xE4\xB8\xAD",     // a CJK character
        "\xF0\x9F\x98\x80", // outside the basic plane
        "a\xC3\x28",        // a lead byte without its continuation
    };
    for (const char* utf8 : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(utf8)));
        std::string out;
        EXPECT_FALSE(Utf8ToCp1252(utf8, out));
    }
}

// Issue 21: names with escape sequences reached the terminal, and a line feed in a
// name split its line.
TEST(Cp1252Test, TerminalTextsCarryNoControls) {
    struct Case {
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"\x1b[2JRed.txt", "\\x1B[2JRed.txt"},
        {"Two\nLines", "Two\\x0ALines"},
        {"tab\there\r", "tab\\x09here\\x0D"},
        {"del\x7f", "del\\x7F"},
        {std::string("nul\0", 4), "nul\\x00"},
        {"C:\\dir\\Gr\xF6\xDF\x65.txt", "C:\\dir\\Gr\xF6\xDF\x65.txt"}, // the rest stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(c.escaped, EscapeControls(c.text));
    }
    // Each byte value at each place of a long name, on either side of a word's edge:
    // only the controls are escaped, wherever they stand.
    const std::string plain = "/src/linux/drivers/";
    for (int value = 0; value < 256; ++value) {
        const bool control = value < 0x20 || value == 0x7F;
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", value);
        for (std::size_t at = 0; at < plain.size(); ++at) {
            std::string text = plain;
            text[at] = static_cast<char>(value);
            const std::string expected =
                control ? plain.substr(0, at) + hex + plain.substr(at + 1) : text;
            ASSERT_EQ(expected, EscapeControls(text)) << "byte " << value << " at " << at;
        }
    }
#ifndef _WIN32
    // The bytes the code page leaves undefined would be C1 controls on a UTF-8 terminal.
    EXPECT_EQ("a\\x9Db\xE2\x82\xAC\\x81", ForTerminal("a\x9D" "b\x80\x81"));
#endif
}

} // namespace
} // namespace sorbex
