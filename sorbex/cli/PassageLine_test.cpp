// Tests of the printed form of a passage.
#include "cli/PassageLine.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(PassageLineTest, ShowsThePassageInItsLine) {
    const std::string longLine = std::string(50, 'x') + "hit" + std::string(50, 'y');
    struct Case {
        std::string text;
        CPassage passage;
        std::string expected;
    };
    const Case cases[] = {
        {"one\ntwo hit three\nfour", {8, 11}, "  8-11: two [[hit]] three"},
        {"hit", {0, 3}, "  0-3: [[hit]]"},
        {"a\nhit\n", {2, 5}, "  2-5: [[hit]]"},
        {"ab", {1, 1}, "  1-1: a[[]]b"},
        {longLine,
         {50, 53},
         "  50-53: ..." + std::string(40, 'x') + "[[hit]]" + std::string(40, 'y') + "..."},
        {std::string(300, 'z'), {0, 300}, "  0-300: [[" + std::string(200, 'z') + "...]]"},
        {"short", {3, 99}, "  3-99: sho[[rt]]"}, // offsets beyond the text are clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.expected, FormatPassageLine(c.text, c.passage));
    }
}

} // namespace
} // namespace sorbex
