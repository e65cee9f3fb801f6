// Tests of file-mask matching, list splitting and the recasing of short names.
#include "search/MatchMask.h"
#include "search/NameCase.h"
#include "search/SplitList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(MatchMaskTest, Table) {
    struct Case {
        const char* name;
        const char* mask;
        bool match;
    };
    const Case cases[] = {
        // Letters ignore case, in ASCII and in the code page's accented letters.
        {"Main.C", "*.c", true},
        {"main.c", "MAIN.C", true},
        {"\xC4rger.txt", "\xE4rger.*", true},
        {"main.cpp", "*.c", false},
        // * takes any run, the empty one too.
        {"a", "*", true},
        {"", "*", true},
        {"abc", "a*c", true},
        {"ac", "a*c", true},
        {"abcx", "a*c", false},
        {"a.b.c", "*.c", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*a*a*a*c", false},
        // ? takes one character or none.
        {"ac", "a?c", true},
        {"abc", "a?c", true},
        {"abbc", "a?c", false},
        {"a", "a??", true},
        {"abc", "??", false},
        // A name without a dot has one at its end for the mask.
        {"README", "*.*", true},
        {"README", "*.", true},
        {"README", "README.", true},
        {"README", "*.txt", false},
        {"readme.txt", "*.", false},
        {"readme.txt", "*.*", true},
        {"READ.ME", "*.*", true},
        // The whole name must be consumed.
        {"abc", "ab", false},
        {"ab", "abc", false},
        {"", "", true},
        {"a", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
        EXPECT_EQ(c.match, MatchMask(c.name, c.mask));
    }
}

// Names around the length up to which the match needs no memory of its own take the
// same answers as short ones.
TEST(MatchMaskTest, LongNamesMatchAsShortOnes) {
    struct Case {
        const char* mask;
        bool dotted; // the name is "a...b.txt"; otherwise "A...BxC" without a dot
        bool match;
    };
    const Case cases[] = {
        {"*.txt", true, true},   {"*.TXT", true, true},  {"a*b.txt", true, true},
        {"*.c", true, false},    {"*.", true, false},    {"*.*", true, true},
        {"a*b?c", false, true},  {"a*bc", false, false}, {"*.", false, true},
        {"*.txt", false, false}, {"?", false, false},    {"*", false, true},
    };
    for (const std::size_t length : {8u, 254u, 255u, 256u, 257u, 300u, 1000u}) {
        for (const Case& c : cases) {
            const std::string fill(length - (c.dotted ? 6 : 4), 'x');
            const std::string name = c.dotted ? "a" + fill + "b.txt" : "A" + fill + "BxC";
            ASSERT_EQ(length, name.size());
            SCOPED_TRACE(std::to_string(length) + " ~ " + c.mask);
            EXPECT_EQ(c.match, MatchMask(name, c.mask));
        }
    }
}

TEST(SplitListTest, Table) {
    struct Case {
        const char* text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"*.c|*.h", {"*.c", "*.h"}},
        {"  *.c |  | *.h", {"*.c", "*.h"}},
        {"*.c | *.cpp | *.h | *.inl | *.def | *.rc",
         {"*.c", "*.cpp", "*.h", "*.inl", "*.def", "*.rc"}},
        {"C:\\a | D:\\b", {"C:\\a", "D:\\b"}},
        {"my file.txt", {"my file.txt"}},
        {"", {}},
        {" | |", {}},
        {"|x|", {"x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.items, SplitList(c.text));
    }
}

TEST(NameCaseTest, ShortNamesAreShownWithOneCapital) {
    struct Case {
        const char* name;
        const char* shown;
    };
    const Case cases[] = {
        {"README.TXT", "Readme.txt"},
        {"A", "A"},
        {"a", "A"},
        {"_ABC.DOC", "_abc.doc"},
        {"\xC4PFEL", "\xC4pfel"},
        {"\xE4PFEL", "\xC4pfel"},
        {"1.C", "1.c"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.shown, RecaseShortName(c.name));
    }
}

} // namespace
} // namespace sorbex
