// Tests of the string table lookup and of the insertion of arguments.
#include "strings/SorbexStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(SorbexStringTest, LooksUpExactTexts) {
    struct Case {
        unsigned id;
        const char* text;
    };
    const Case cases[] = {
        {IDS_RE_NOT_FOUND, "The text was not found."},
        {IDS_RE_TRAILING_BACKSLASH, "The search expression contains a single backslash \\, "
                                    "which isn't followed by a character."},
        {IDS_RE_UNMATCHED_BRACE, "The bracket \\{ or \\} is missing in the repetition statement."},
        {IDS_EXPR_AND_RIGHT_MISSING, "The right operand of an and operator is missing."},
        {IDS_SEARCH_EXPRESSION_ERROR, "Error in search expression:\n"},
        {IDS_CONVERTED_NOT_REPLACEABLE,
         "You can't replace text, when internal or external converters are\nused for "
         "searching. Go to the register card \"Converters\" and\nswitch all converters off."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_STREQ(c.text, SorbexString(c.id));
    }
}

TEST(SorbexStringTest, UnknownNumbersGiveEmptyText) {
    for (unsigned id : {0u, 9799u, 9829u, 10023u, 10100u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(id);
        EXPECT_STREQ("", SorbexString(id));
    }
}

TEST(InsertArgumentsTest, FillsNumberedInsertions) {
    struct Case {
        const char* text;
        std::string expected;
    };
    const Case cases[] = {
        {"File %1 not found.", "File a.txt not found."},
        {"%2 before %1", "two before a.txt"},
        {"%1%1", "a.txta.txt"},
        {"missing %3 stays", "missing %3 stays"},
        {"100% and %0 and %ld stay", "100% and %0 and %ld stay"},
        {"trailing %", "trailing %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.expected, InsertArguments(c.text, {"a.txt", "two"}));
    }
}

} // namespace
} // namespace sorbex
