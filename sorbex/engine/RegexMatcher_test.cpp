// Tests of the standard pattern matcher: pattern language, folding, words, errors.
#include "engine/RegexMatcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ExprError.h"
#include "engine/PatternRegistry.h"
#include "engine/RegexErrors.h"
#include "engine/RepetitionRuns.h"
#include "engine/SearchFlags.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

struct Options {
    bool matchCase = false;
    bool wholeWords = false;
    int group = 0;
    std::size_t from = 0; // where in the text the search starts
};

// "start-end" of the first match relative to the search start, "none" when nothing is
// found, "error N" when the pattern does not compile.
std::string Find(const std::string& pattern, const std::string& text, Options options = {}) {
    CRegexMatcher matcher;
    if (unsigned error = matcher.Compile(pattern, options.matchCase, options.wholeWords)) {
        return "error " + std::to_string(error);
    }
    int start = 0;
    int end = 0;
    if (!matcher.FindMatch(text.c_str() + options.from, text.size() - options.from, options.group,
                           start, end)) {
        return "none";
    }
    return std::to_string(start) + "-" + std::to_string(end);
}

struct Case {
    const char* pattern;
    std::string text;
    const char* expected;
};

void RunCases(const Case* begin, const Case* end, Options options = {}) {
    for (const Case* c = begin; c != end; ++c) {
        SCOPED_TRACE(std::string(c->pattern) + " on \"" + c->text + "\"");
        EXPECT_EQ(c->expected, Find(c->pattern, c->text, options));
    }
}

TEST(RegexMatcherTest, PatternLanguage) {
    const Case cases[] = {
        {"[[:alpha:]]", "x:]", "1-3"}, // no classes: a list of "[:alph" and a ']'
        {"[[:alpha:]]", "alpha", "none"},
        {"a.b", "a\nb", "none"},
        {"a[^x]b", "a\nb", "none"},
        {"cat\ndog", "a dog", "2-5"}, // a line feed in a pattern separates alternatives
        {"a{2}", "aaa", "0-2"},
        {"*a", "xa", "1-2"}, // a repetition with nothing before it is ignored
        {"(a)\\1", "xaa", "1-3"},
        {"\\<is\\>", "this is", "5-7"},
        {"\\w+", "  ab_9  ", "2-6"},
        {"x^y|^b", "ab\nb", "3-4"}, // anchors work anywhere in the pattern
        {"a$", "ba\nab", "1-2"},
        {"x*", "abc", "0-0"},
        {"[z-a]", "za", "none"}, // an empty range is no error, just no byte
        {"\x80+", "x\x80\x80y", "1-3"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(RegexMatcherTest, StackedRepetitionsFoldIntoTheOneTheyEqual) {
    struct Fold {
        const char* pattern;
        const char* folded;
    };
    const Fold folds[] = {
        {"a+++", "a+"},         {"a???", "a?"},         {"a*+?", "a*"},
        {"a+?", "a*"},          {"a?+", "a*"},          {"(ab)**c++", "(ab)*c+"},
        {"\\*\\*+", "\\*\\*+"}, {"\\++++", "\\++"},     {"[*+?]+?", "[*+?]*"},
        {"[]++]++", "[]++]+"},  {"[^]**]*", "[^]**]*"}, {"[[:a:]**]", "[[:a:]*]"},
        {"a{2}??", "a{2}?"},    {"[ab++", "[ab++"},     {"x\\", "x\\"},
    };
    for (const Fold& f : folds) {
        SCOPED_TRACE(f.pattern);
        EXPECT_EQ(f.folded, CollapseRepetitionRuns(f.pattern));
    }
    // Forty stacked operators would take the library years to compile unfolded; folded
    // they match as the one they equal.
    const std::string stacked = "b" + std::string(40, '+');
    EXPECT_EQ("1-4", Find(stacked, "abbbc"));
    EXPECT_EQ("0-0", Find("x" + std::string(40, '?') + std::string(40, '+'), "abc"));
    const Case cases[] = {
        {"**a", "xa", "1-2"}, // still ignored with nothing before them
        {"(a|*+b)", "b", "0-1"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(RegexMatcherTest, SpansAreRelativeToTheSearchStart) {
    const std::string text = "one\ntwo two";
    Options options;
    options.from = 5; // inside the line "two two": its rest counts as a line of its own
    const Case cases[] = {
        {"two", text, "3-6"},
        {"^wo", text, "0-2"},
        {"one", text, "none"},
    };
    RunCases(std::begin(cases), std::end(cases), options);
}

TEST(RegexMatcherTest, Groups) {
    struct GroupCase {
        const char* pattern;
        const char* text;
        int group;
        const char* expected;
    };
    const GroupCase cases[] = {
        {"(a)|(b)", "xa", 1, "1-2"},
        {"(a)|(b)", "xa", 2, "-1--1"}, // the group took no part in the match
        {"(a)|(b)", "xb", 2, "1-2"},
        {"x(a(b))c", "xabc", 2, "2-3"},
        {"abc", "abc", 3, "-1--1"}, // a group the pattern does not have
        {"abc", "xabc", -1, "1-4"}, // numbers below 1 stand for the whole match
    };
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " group " + std::to_string(c.group));
        Options options;
        options.group = c.group;
        EXPECT_EQ(c.expected, Find(c.pattern, c.text, options));
    }
}

TEST(RegexMatcherTest, FoldsCaseOfAsciiAndUmlauts) {
    const Case folded[] = {
        {"stra\xDF\x65", "STRA\xDF\x45", "0-6"},
        {"\xE4", "x\xC4", "1-2"},
        {"\xD6", "x\xF6", "1-2"},
        {"\xFC", "x\xDC", "1-2"},
        {"[a-z]+", "ABC", "0-3"},
        {"[\xE4\xF6]", "\xD6", "0-1"},
        {"\xDF", "ss", "none"},
        {"\xE0", "\xC0", "none"},
    };
    RunCases(std::begin(folded), std::end(folded));

    Options exact;
    exact.matchCase = true;
    const Case matchingCase[] = {
        {"stra\xDF\x65", "STRA\xDF\x45", "none"},
        {"\xE4", "\xC4", "none"},
        {"abc", "ABC abc", "4-7"},
    };
    RunCases(std::begin(matchingCase), std::end(matchingCase), exact);
}

TEST(RegexMatcherTest, WholeWords) {
    Options words;
    words.wholeWords = true;
    const Case cases[] = {
        // pattern, text, first whole-word match
        {"cat", "concatenate", "none"},
        {"cat", "cat_x", "none"}, // '_' is a word byte
        {"cat", "(cat)", "1-4"},
        {"cat", "cat", "0-3"},      // at the start and the end of the text
        {"cat", "a cat\nb", "2-5"}, // at the end of a line
        {"cat", "cats\ncat", "5-8"},
        {"mouse", "\xE4mouse\xFC", "1-6"}, // bytes from 0x80 up are not word bytes
        {"ab*", "abbbc abb", "6-9"},       // every shorter match at 0 is refused too
        {"cat.?", "cat x", "0-3"}, // the longest match runs into a word, a shorter one does not
        {"c.*", "cat dog cow", "0-11"},
        {"a+", "aaa_ a", "5-6"},
        {"x*", "ab", "none"},
        {"x*", "a  b", "2-2"}, // an empty match between two non-word bytes
    };
    RunCases(std::begin(cases), std::end(cases), words);
}

TEST(RegexMatcherTest, MapsLibraryErrorsToMessages) {
    const Case cases[] = {
        // pattern, "", message of the library's error code
        {"[", "", "error 9801"},
        {"[[.ab.]]", "", "error 9802"}, // collating symbols are read even without classes
        {"[[=ab=]]", "", "error 9802"},
        {"a\\", "", "error 9804"},
        {"(a)\\2", "", "error 9805"},
        {"[a", "", "error 9806"},
        {"(a", "", "error 9807"},
        {"a{1", "", "error 9808"},
        {"a{2,1}", "", "error 9809"},
        {"[a-c-e]", "", "error 9810"},
        {"[[=a=]-b]", "", "error 9810"},
        {"a{40000}", "", "error 9827"}, // refused before the library says "too long"
        {"a)", "", "error 9815"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(RegexMatcherTest, UnknownLibraryTextIsAnInvalidPattern) {
    EXPECT_EQ(IDS_RE_INVALID, RegexCompileErrorId("something the library never says"));
}

// Lets through only the lines that contain `mark`, and counts its calls.
class MarkedLines final : public CLinePrefilter {
public:
    MarkedLines(char mark, int& calls) : mark(mark), calls(calls) {}

    const char* NextCandidateLine(const char* from, const char* end) const override {
        ++calls;
        const char* line = from;
        for (const char* p = from; p < end; ++p) {
            if (*p == '\n') {
                line = p + 1;
            } else if (*p == mark) {
                return line;
            }
        }
        return nullptr;
    }

private:
    char mark;
    int& calls;
};

TEST(RegexMatcherTest, SearchesOnlyTheLinesThePrefilterLetsThrough) {
    const std::string text = "cat one\ncat two!\ncat three";
    struct PrefilterCase {
        char mark;
        const char* expected;
    };
    const PrefilterCase cases[] = {{'!', "8-11"}, {'c', "0-3"}, {'h', "17-20"}, {'?', "none"}};
    for (const PrefilterCase& c : cases) {
        SCOPED_TRACE(c.mark);
        CRegexMatcher matcher;
        ASSERT_EQ(0u, matcher.Compile("cat", false, false));
        int calls = 0;
        matcher.SetPrefilter(std::make_unique<MarkedLines>(c.mark, calls));
        int start = 0;
        int end = 0;
        const bool found = matcher.FindMatch(text.c_str(), text.size(), 0, start, end);
        EXPECT_EQ(c.expected,
                  found ? std::to_string(start) + "-" + std::to_string(end) : std::string("none"));
        EXPECT_GE(calls, 1);
    }
}

TEST(PatternRegistryTest, ActivationNestsAndRestores) {
    CPatternRegistry registry;
    const int cat = registry.Add("cat", kSearchMethodStandard);
    const int dog = registry.Add("dog", kSearchMethodStandard);
    int start = 0;
    int end = 0;
    EXPECT_FALSE(registry.FindMatch("cat dog", 7, 0, start, end)); // nothing active yet

    ASSERT_TRUE(registry.Activate(cat));
    ASSERT_TRUE(registry.Activate(dog));
    ASSERT_TRUE(registry.FindMatch("cat dog", 7, 0, start, end));
    EXPECT_EQ(4, start);
    ASSERT_TRUE(registry.Deactivate(dog));
    ASSERT_TRUE(registry.FindMatch("cat dog", 7, 0, start, end));
    EXPECT_EQ(0, start);
    ASSERT_TRUE(registry.Deactivate(cat));
    EXPECT_FALSE(registry.FindMatch("cat dog", 7, 0, start, end));

    for (int index : {-1, 2, 100}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(registry.Activate(index));
        EXPECT_FALSE(registry.Deactivate(index));
    }
    registry.Clear();
    EXPECT_EQ(0u, registry.size());
    EXPECT_FALSE(registry.Activate(cat));
}

TEST(PatternRegistryTest, AddCompilesWithTheFlagsAndDropsFailures) {
    CPatternRegistry registry;
    const int exact = registry.Add("Cat", kSearchMethodStandard | kSearchMatchCase);
    const int word = registry.Add("cat", kSearchMethodStandard | kSearchWholeWords);
    try {
        registry.Add("[x", kSearchMethodStandard);
        ADD_FAILURE() << "a broken pattern was accepted";
    } catch (const CExprError& error) {
        EXPECT_EQ(IDS_RE_UNMATCHED_BRACKET, error.Id());
    }
    EXPECT_EQ(2u, registry.size());

    int start = 0;
    int end = 0;
    ASSERT_TRUE(registry.Activate(exact));
    ASSERT_TRUE(registry.FindMatch("cat concat Cat", 14, 0, start, end));
    EXPECT_EQ(11, start);
    registry.Deactivate(exact);
    ASSERT_TRUE(registry.Activate(word));
    ASSERT_TRUE(registry.FindMatch("concat CAT", 10, 0, start, end));
    EXPECT_EQ(7, start);
    registry.Deactivate(word);
}

} // namespace
} // namespace sorbex
