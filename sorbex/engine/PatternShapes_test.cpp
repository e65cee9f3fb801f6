// Tests of the pattern shapes folded or refused before the library compiles them.
#include "engine/PatternShapes.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ExprError.h"
#include "engine/PatternRegistry.h"
#include "engine/RegexMatcher.h"
#include "engine/SearchExpression.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The compile error of `expression` as a search would compile it, 0 for none.
unsigned CompileError(const std::string& expression) {
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groups = 0;
    const auto error =
        CompileSearchExpression(expression, {}, registry, root, groups);
    return error ? error->Id() : 0;
}

TEST(PatternShapesTest, KeepsOneEmptyAlternativeOfEach) {
    struct Case {
        const char* pattern;
        const char* folded;
    };
    const Case cases[] = {
        {"(a||.||b)+c", "(a||.|b)+c"},
        {"(a|||||.||b)+c", "(a||.|b)+c"},
        {"a||", "a|"},
        {"||a", "|a"},
        {"(||)", "()"},
        {"a|b", "a|b"},         // nothing empty: untouched
        {"(a|)(|b)", "(a|)(|b)"}, // one per alternation is kept
        {"(a||b)|(c||d)||", "(a||b)|(c||d)|"},
        {"a\n\nb\n", "a\n\nb"}, // a line feed separates alternatives too
        {"a\\||\\|b", "a\\||\\|b"}, // escaped bars are bytes
        {"[||]||x", "[||]||x"},  // so are bars in a list
        {"((a|||b)|||c)", "((a||b)||c)"},
        {"a)||b", "a)||b"}, // a stray ')' does not end the top level
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.folded, FoldEmptyAlternatives(c.pattern));
    }
}

TEST(PatternShapesTest, RefusesDeepNestingAndLargeRepetitions) {
    struct Case {
        std::string pattern;
        unsigned id;
    };
    const Case cases[] = {
        {Repeat("(", kMaxNesting) + "a" + Repeat(")", kMaxNesting), 0},
        {Repeat("(", kMaxNesting + 1) + "a" + Repeat(")", kMaxNesting + 1),
         IDS_EXPR_NESTED_TOO_DEEPLY},
        {Repeat("(", kMaxNesting + 1), IDS_EXPR_NESTED_TOO_DEEPLY}, // unclosed as well
        {"[((((((]", 0},                                            // a list holds bytes
        {Repeat("\\(", 500) + "a", 0},                              // so do escapes
        {"x{1,1000}", 0},
        {"x{1002}", 0},
        {"x{1003}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{1,32768}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{1,16000}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{99999999999999999999}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{2000,}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{,2000}", IDS_RE_REPETITION_TOO_LARGE},
        {"(x?){0,500}", 0},
        {"(x*){0,1000}", IDS_RE_REPETITION_TOO_LARGE},       // each copy is two pieces
        {"((x{0,10}){0,10}){0,100}", IDS_RE_REPETITION_TOO_LARGE}, // nested counts multiply
        {"((((x?){0,5}){0,5}){0,5}){0,16}", IDS_RE_REPETITION_TOO_LARGE},
        {"(abcdefghij){100}", 0},
        {"(abcdefghij){102}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{0}" + Repeat("y", 5000), 0}, // a long pattern is no repetition
        {"a|x{1,999}|x{1,999}", IDS_RE_REPETITION_TOO_LARGE}, // alternatives add up
        {"{5000}", 0},                                          // nothing to repeat
        {"x{5000", 0}, // not an interval: the library says what is wrong
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern.substr(0, 60));
        EXPECT_EQ(c.id, CheckPatternLimits(c.pattern));
    }
}

// Former bugs, issue 21: each of these crashed the program or froze it beyond Ctrl+C.
TEST(PatternShapesTest, FormerCrashesAndFreezesAreRefusedOrQuick) {
    struct Case {
        std::string expression;
        unsigned id;
    };
    const Case cases[] = {
        // The library's compiler ran out of stack.
        {Repeat("(", 12433) + "word" + Repeat(")", 12433), IDS_EXPR_NESTED_TOO_DEEPLY},
        // Our parser did.
        {Repeat("!", 37237) + "word", IDS_EXPR_NESTED_TOO_DEEPLY},
        {Repeat("a&", 5000) + "a", IDS_EXPR_NESTED_TOO_DEEPLY},
        {"(" + Repeat("(a)", 3) + ")&" + Repeat("(", 150) + "b" + Repeat(")", 150), 0},
        // 33 seconds and 4.1 GB to compile, and the wrong reason beyond the library's limit.
        {"x{1,16000}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{1,32767}", IDS_RE_REPETITION_TOO_LARGE},
        {"x{1,32768}", IDS_RE_REPETITION_TOO_LARGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression.substr(0, 60));
        EXPECT_EQ(c.id, CompileError(c.expression));
    }
}

// A back-reference that can match nothing, repeated without bound, sent the library's
// matcher into a recursion without end: a stack overflow on a line of five bytes. With
// a bound, or with a reference to a group that always takes a byte, it is harmless.
TEST(PatternShapesTest, EmptyBackReferencesRepeatedWithoutBoundAreRefused) {
    struct Case {
        std::string expression;
        unsigned id;
    };
    const Case cases[] = {
        {"(a*(a*)*\\!*(a*)*\\2M*\\2)*\\2c", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(a*)(\\1\\1)*", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(a*)(\\1\\1)+", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"((a*)\\2\\2|b)*", IDS_RE_EMPTY_REFERENCE_REPEATED}, // one alternative is enough
        {"(b|(a*)\\2\\2)*", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(()\\2\\2)*", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"((a*)\\2\\2){2,}", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(((a|)\\3))*", IDS_RE_EMPTY_REFERENCE_REPEATED}, // deeper inside the group
        {"(x\\1*)", IDS_RE_EMPTY_REFERENCE_REPEATED},      // a group it is still inside
        // a group that can match nothing and is itself optional, even in a loop that
        // takes a byte on every round
        {"(.(i*)*\\2)*", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"((i*)*\\2.)+", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(.(i|)*\\2)*", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(.(i*)?\\2){2,}", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(a*.(i*)*\\!*(x*)*\\2M*\\2)*\\2c\\2", IDS_RE_EMPTY_REFERENCE_REPEATED},
        {"(a)(\\1\\1)*", 0},                         // the group always takes a byte
        {"((a*)b\\2\\2)*", 0},                       // the repeated group does
        {"(a*)(\\1\\1)?", 0},
        {"((a*)\\2\\2){1,9}", 0},                    // copies, not a loop
        {"(a*)\\1 (b+)\\2*", 0},
        {"(.(i+)*\\2)*", 0},                      // the optional group takes a byte
        {"(.(i*)\\2)*", 0},                       // the group is not optional
        {"(.(i*){0,3}\\2)*", 0},                  // copies, not a loop
        {"(i*)*\\1", 0},                          // no loop around the reference
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        EXPECT_EQ(c.id, CompileError(c.expression));
    }
}

// Two empty alternatives under a repetition sent the library's work on the groups'
// spans round for ever; a plain search no longer does that work, and a group search
// gets the folded pattern.
TEST(PatternShapesTest, EmptyAlternativesUnderARepetitionMatch) {
    struct Case {
        const char* pattern;
        int group;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"(a|||||.||b)+c", 0, "aad c", "0-5"},
        {"(a||.||b)+c", 0, "a c", "0-3"},
        {"(a||.||b)+c", 1, "aad c", "3-4"},
        {"(a|x*|.|y*|b)+c", 0, "aad c", "0-5"},
        {"x(a||.||b)*", 1, "x", "1-1"}, // the empty alternative takes part
        // Two alternatives that match nothing cannot be folded into one, and the library
        // cannot be trusted with the spans of such a pattern's groups: none is found.
        {"(a|x*|.|y*|b)+c", 1, "aad c", "none"},
        {"(x*|.|y*)+c", 1, "aad c", "none"},
        {"(x*|.|)+(c)", 2, "aad c", "none"},
        {"(x*|.|y*)+c", 0, "aad c", "0-5"}, // the whole match is found all the same
        // So it is with a way to match nothing beside an anchored one.
        {"(a|||||^.||b)+c", 1, "aad c", "none"},
        {"(\\<a|x*)+b", 1, "aab", "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " group " + std::to_string(c.group));
        CRegexMatcher matcher;
        ASSERT_EQ(0u, matcher.Compile(c.pattern, false, false));
        const std::string text = c.text;
        int start = 0;
        int end = 0;
        std::string found = "none";
        if (matcher.FindMatch(text.c_str(), text.size(), c.group, start, end) && start >= 0)
            found = std::to_string(start) + "-" + std::to_string(end);
        EXPECT_EQ(c.expected, found);
    }
}

TEST(PatternShapesTest, TellsRepeatedGroupsWithTwoWaysToMatchNothing) {
    struct Case {
        const char* pattern;
        bool risky;
    };
    const Case cases[] = {
        {"(x*|.|y*)+", true}, {"(a||.|b)*", false}, {"(|.|y?)+", true},   {"((x*)|(y*))+", true},
        {"(x*|.|y*)?", false}, {"(x*|.|y*){1}", false}, {"(x*|y*){2}", true}, {"(^|$)*", true},
        {"(a|\\b|\\1)+", true}, {"([|]|x)+", false}, {"(x*y*)*", false}, {"x*|y*", false},
        // A way to match nothing beside one that tests a place before it takes a byte.
        {"(|^a)+", true}, {"(x?|^a)+", true}, {"(^a|b*)+", true}, {"(\\<a|x*)+", true},
        {"(\\`a|)+", true}, {"(|\\>a){2,}", true}, {"(y|(|^a))+", true}, {"(|^.|b)*", true},
        {"(|^a)?", false}, {"(|^a){1}", false}, {"(b|^a)+", false}, {"(^|a)+", false},
        {"(|[^a]a)+", false}, {"(|a)+", false}, {"(|^a)(x)+", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.risky, AnalysePattern(c.pattern).repeatsNullableGroup);
    }
}

TEST(PatternShapesTest, AStoppedRegistryFindsNothingMore) {
    CPatternRegistry registry;
    const int index = registry.Add("b", 1);
    const std::string text = "a\nb\nb";
    int start = 0;
    int end = 0;
    ASSERT_TRUE(registry.Activate(index));
    EXPECT_TRUE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
    registry.Stop();
    EXPECT_FALSE(registry.FindMatch(text.c_str(), text.size(), 0, start, end));
    registry.Deactivate(index);
}

} // namespace
} // namespace sorbex
