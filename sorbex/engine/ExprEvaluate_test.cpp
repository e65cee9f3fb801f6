// Tests of evaluating compiled expressions on texts: operators, distances, marking.
#include "engine/SearchExpression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/TermNode.h"

namespace sorbex {
namespace {

struct Search {
    CSearchMethod method = CSearchMethod::Standard;
    bool wholeWords = false;
    bool matchCase = false;
    int subexpression = 0;
};

// "no match", "file" (a match without passages) or the passages as "start-end", with
// '*' after a marked one. The text travels with its terminating zero byte, as the
// loaded texts do.
std::string SearchText(const std::string& expression, const std::string& text, Search search = {}) {
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groups = 0;
    if (auto error =
            CompileSearchExpression(expression, {search.method, search.wholeWords, search.matchCase},
                                    registry, root, groups)) {
        return std::string("error ") + std::to_string(error->Id());
    }
    std::unique_ptr<CPassageList> list =
        root->Evaluate(text.c_str(), text.size(), search.subexpression);
    // The search run asks the root through EvaluateRoot, which may look at less of the
    // text: it must come to the same outcome.
    std::unique_ptr<CPassageList> asRun =
        EvaluateRoot(*root, text.c_str(), text.size(), search.subexpression);
    EXPECT_EQ(list == nullptr, asRun == nullptr);
    if (list == nullptr) {
        return "none";
    }
    if (asRun != nullptr) {
        const ExprOutcome outcome = InterpretRootList(*asRun, search.subexpression);
        EXPECT_EQ(static_cast<int>(InterpretRootList(*list, search.subexpression)),
                  static_cast<int>(outcome));
        if (outcome == ExprOutcome::MatchWithPassages) {
            EXPECT_EQ(list->passages.size(), asRun->passages.size());
        }
    }
    switch (InterpretRootList(*list, search.subexpression)) {
    case ExprOutcome::NoMatch:
        return "no match";
    case ExprOutcome::FileLevelMatch:
        return "file";
    case ExprOutcome::MatchWithPassages:
        break;
    }
    std::string out;
    for (const CPassage& passage : list->passages) {
        out += (out.empty() ? "" : " ") + std::to_string(passage.start) + "-" +
               std::to_string(passage.end) + (passage.marked ? "*" : "");
    }
    return out;
}

struct Case {
    const char* expression;
    std::string text;
    const char* expected;
};

void RunCases(const Case* begin, const Case* end, Search search = {}) {
    for (const Case* c = begin; c != end; ++c) {
        SCOPED_TRACE(std::string(c->expression) + " on \"" + c->text + "\"");
        EXPECT_EQ(c->expected, SearchText(c->expression, c->text, search));
    }
}

TEST(EvaluateTest, Terms) {
    const Case cases[] = {
        {"abc", "xx abc yy abc", "3-6 10-13"},
        {"abc", "ab c", "no match"},
        {"a\\&b", "a&b", "0-3"},
        {"\\(a\\)", "(a) a", "0-3"},
        {"^a", "aaa", "0-1 1-2 2-3"}, // every scan starts a line
        {"a.b", "a\nb", "no match"},
        {"x*", "abc", "no match"}, // an empty match at the scan position ends the scan
        {"b*", "abbc", "no match"},
        {"b+", "abbc b", "1-3 5-6"},
        {"end$", "the end\nend of it", "4-7"},
        {"cat", "", "no match"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(EvaluateTest, PlainAndAndNot) {
    const Case cases[] = {
        {"cat&dog", "dog cat", "0-3 4-7"},
        {"cat&dog", "a cat", "no match"},
        {"ca&cat", "cat", "0-3 0-2"}, // equal starts: the right operand's passage first
        {"cat&!dog", "a cat", "2-5"},
        {"cat&!dog", "a cat and a dog", "no match"},
        {"!dog", "a cat", "file"},
        {"!dog", "a dog", "no match"},
        {"!!dog", "a dog", "2-5"},
        {"!cat&!dog", "a bird", "file"},
        {"cat&dog&bird", "bird dog cat", "0-4 5-8 9-12"},
        // each term is read first up to its first passage, then on from there
        {"aa&b", "aaaaa b", "0-2 2-4 6-7"},
        {"cat&dog", "dog dog dog cat cat", "0-3 4-7 8-11 12-15 16-19"},
        {"cat&dog", "cat cat cat", "no match"},
        {"cat&!dog", "cat dog dog dog", "no match"},
        {"!dog&cat", "cat cat", "0-3 4-7"},
        {"cat&dog&!bird", "dog cat dog cat", "0-3 4-7 8-11 12-15"},
        {"cat&dog&!bird", "dog cat dog cat bird", "no match"},
        {"(cat&dog)&fish", "fish dog cat dog", "0-4 5-8 9-12 13-16"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(EvaluateTest, DistanceAtTheLimit) {
    const Case cases[] = {
        {"cat&5dog", "cat12345dog", "0-3 8-11"},  // five bytes between: near
        {"cat&5dog", "cat123456dog", "no match"}, // six bytes between
        {"cat&5dog", "dog12345cat", "0-3 8-11"},
        {"cat&0dog", "catdog", "0-3 3-6"},
        {"cat&0dog", "cat dog", "no match"},
        {"A&5B", "A1234B", "0-1 5-6"},
        {"A&5B", "A123456B", "no match"},
        // only the near passages are kept, in walk order
        {"cat&3dog", "cat dog ............ cat", "0-3 4-7"},
        {"cat&3dog", "cat ........ dog cat", "13-16 17-20"},
        {"cat&3dog", "cat\ndog", "0-3 4-7"}, // the distance counts line feeds too
        {"cat&-3dog", "cat ............ dog", "0-3 17-20"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(EvaluateTest, DistanceWithInvertedOperands) {
    const Case cases[] = {
        // right operand inverted: cat, but none within 5 bytes of a dog
        {"cat&5!dog", "cat.....dog", "no match"},
        {"cat&5!dog", "cat......dog", "0-3"},
        {"cat&5!dog", "a cat, a cat", "2-5 9-12"},
        {"cat&5!dog", "a dog", "no match"},
        // left operand inverted (the costlier operand stays on the right)
        {"!dog&5catfish", "catfish.....dog", "no match"},
        {"!dog&5catfish", "catfish......dog", "0-7"},
        {"!dog&5catfish", "catfish", "0-7"},
        // both inverted: true only when no passage of one is near one of the other
        {"!cat&5!dog", "cat......dog", "file"},
        {"!cat&5!dog", "cat.....dog", "no match"},
        {"!cat&5!dog", "nothing here", "file"},
    };
    RunCases(std::begin(cases), std::end(cases));
}

TEST(EvaluateTest, CaseAndWholeWords) {
    const Case folding[] = {
        {"gr\xF6\xDF&M\xFCnchen", "M\xDCNCHEN GR\xD6\xDF", "0-7 8-12"},
        {"stra\xDF\x65", "STRA\xDF\x45", "0-6"},
    };
    RunCases(std::begin(folding), std::end(folding));

    Search exact;
    exact.matchCase = true;
    const Case matchingCase[] = {
        {"stra\xDF\x65", "STRA\xDF\x45", "no match"},
        {"Cat", "cat Cat", "4-7"},
    };
    RunCases(std::begin(matchingCase), std::end(matchingCase), exact);

    Search words;
    words.wholeWords = true;
    const Case wholeWords[] = {
        {"cat", "concatenate cat_x (cat)", "19-22"},
        {"cat", "cat\ncat9 cat", "0-3 9-12"},
        {"cat&5dog", "cat, dog; catdog", "0-3 5-8"},
    };
    RunCases(std::begin(wholeWords), std::end(wholeWords), words);
}

TEST(EvaluateTest, PhoneticMethod) {
    Search phonetic;
    phonetic.method = CSearchMethod::Phonetic;
    const Case insideWords[] = {
        {"Meier", "Hammer Meier", "2-6 7-12"},
        {"Meier&M\xFCller", "Herr Maier und Frau Mueller", "5-10 20-27"},
        {"Meier&!Schmidt", "Meyer", "0-5"},
        {"Meier&!Schmidt", "Meyer Schmitt", "no match"},
        {"Meier&10Schmidt", "Meyer und Schmitt", "0-5 10-16"}, // up to the first t
        {"Meier&3Schmidt", "Meyer und Schmitt", "no match"},
        {"Meier&...", "Meier", "error 9824"},
    };
    RunCases(std::begin(insideWords), std::end(insideWords), phonetic);

    phonetic.wholeWords = true;
    const Case wholeWords[] = {
        {"Meier", "Hammer Meyer", "7-12"},
        {"Meier&Hans", "Hans-Meier", "0-4 5-10"},
    };
    RunCases(std::begin(wholeWords), std::end(wholeWords), phonetic);

    phonetic.wholeWords = false;
    phonetic.subexpression = 1;
    EXPECT_EQ("8-13*", SearchText("(Meier)&Schmidt", "Schmitt Mayer", phonetic));
    EXPECT_EQ("no match", SearchText("Meier", "Maier"));
}

struct MarkCase {
    const char* expression;
    const char* text;
    int subexpression;
    const char* expected;
};

void RunMarkCases(const MarkCase* begin, const MarkCase* end) {
    for (const MarkCase* c = begin; c != end; ++c) {
        SCOPED_TRACE(std::string(c->expression) + " #" + std::to_string(c->subexpression));
        Search search;
        search.subexpression = c->subexpression;
        EXPECT_EQ(c->expected, SearchText(c->expression, c->text, search));
    }
}

TEST(EvaluateTest, MarksTheChosenSubexpression) {
    const MarkCase cases[] = {
        {"(cat)&dog", "dog cat", 1, "4-7*"},
        {"cat&(dog)", "dog cat", 1, "0-3*"},
        {"cat&dog", "dog cat", 1, "no match"},
        {"(AB)|(CD)", "xx cd ab", 2, "3-5*"},
        {"(AB)|(CD)", "xx ab cd", 1, "3-5*"},
        {"(AB)|(CD)", "xx cd ab", 1, "no match"}, // group 1 takes no part: the scan stops
        // numbers run across terms; a term's own groups follow its stripped pair
        {"(x)&(a(b)c)&y", "x abc y", 1, "0-1*"},
        {"(x)&(a(b)c)&y", "x abc y", 2, "2-5*"},
        {"(x)&(a(b)c)&y", "x abc y", 3, "3-4*"},
        {"(x)&(a(b)c)&y", "x abc y", 4, "no match"},
        // boolean groups, nested
        {"(cat&dog)", "dog cat", 1, "0-3* 4-7*"},
        {"((cat&dog)&bird)", "bird dog cat", 1, "0-4* 5-8* 9-12*"},
        {"((cat&dog)&bird)", "bird dog cat", 2, "5-8* 9-12*"},
        {"(!dog)&cat", "a cat", 1, "no match"},
        {"(cat&5!dog)&bird", "bird cat", 1, "5-8*"},
        // a term read on after its first passage goes on from that group's end
        {"a(b)&x", "abab x", 1, "1-2* 3-4*"},
        {"x&a(b)", "abab x ab", 1, "1-2* 3-4* 8-9*"},
        {"(ab)|(cd)&x", "x ab cd", 1, "2-4*"}, // group 1 takes no part in cd
    };
    RunMarkCases(std::begin(cases), std::end(cases));
}

// Former faults: numbers of directly nested pairs around one operand or node.
TEST(EvaluateTest, EveryNumberOfNestedPairsMarks) {
    const MarkCase cases[] = {
        {"((cat&dog))", "dog cat", 1, "0-3* 4-7*"}, {"((cat&dog))", "dog cat", 2, "0-3* 4-7*"},
        {"((dog))&cat", "dog cat", 1, "0-3*"},      {"((dog))&cat", "dog cat", 2, "0-3*"},
        {"((dog))&cat", "dog cat", 3, "no match"},
    };
    RunMarkCases(std::begin(cases), std::end(cases));
}

TEST(EvaluateTest, YieldsNothingWhenThePatternsAreGone) {
    CPatternRegistry registry;
    std::unique_ptr<CExprNode> root;
    int groups = 0;
    ASSERT_FALSE(
        CompileSearchExpression("cat&!dog", {}, registry, root, groups));
    const std::string text = "a cat";
    ASSERT_NE(nullptr, root->Evaluate(text.c_str(), text.size(), 0));
    registry.Clear();
    EXPECT_EQ(nullptr, root->Evaluate(text.c_str(), text.size(), 0));
}

TEST(InterpretRootListTest, ClassifiesLists) {
    struct ListCase {
        bool inverted;
        bool withPassage;
        bool marked;
        int subexpression;
        ExprOutcome outcome;
        std::size_t kept;
    };
    const ListCase cases[] = {
        {false, true, false, 0, ExprOutcome::MatchWithPassages, 1},
        {false, false, false, 0, ExprOutcome::NoMatch, 0},
        {true, false, false, 0, ExprOutcome::FileLevelMatch, 0},
        {true, true, false, 0, ExprOutcome::NoMatch, 1},
        {false, true, false, 1, ExprOutcome::NoMatch, 0},
        {false, true, true, 1, ExprOutcome::MatchWithPassages, 1},
        {true, true, false, 1, ExprOutcome::FileLevelMatch, 0},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(&c - cases);
        CPassageList list;
        list.inverted = c.inverted;
        if (c.withPassage) {
            list.passages.push_back({2, 5, c.marked});
        }
        EXPECT_EQ(c.outcome, InterpretRootList(list, c.subexpression));
        EXPECT_EQ(c.kept, list.size());
    }
}

// A not of one term at the root only asks whether the term occurs: its search ends at
// the first passage, however many follow. Anything else is evaluated in full.
TEST(ExprEvaluateTest, ANotAtTheRootStopsAtTheFirstPassage) {
    const std::string text = "one two one two one two one";
    struct Case {
        const char* expression;
        int subexpression;
        bool stops; // else every passage of the full evaluation is there
    };
    const Case cases[] = {
        {"!one", 0, true},
        {"!(one)", 0, true},
        {"!(one)", 1, false}, // a chosen subexpression wants every passage marked
        {"!!one", 0, false},  // the child is no term
        {"!(one&two)", 0, false},
        {"one", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        CPatternRegistry registry;
        std::unique_ptr<CExprNode> root;
        int groups = 0;
        ASSERT_FALSE(CompileSearchExpression(c.expression, {}, registry, root, groups));
        std::unique_ptr<CPassageList> list =
            EvaluateRoot(*root, text.c_str(), text.size(), c.subexpression);
        std::unique_ptr<CPassageList> full =
            root->Evaluate(text.c_str(), text.size(), c.subexpression);
        ASSERT_NE(nullptr, list);
        ASSERT_NE(nullptr, full);
        ASSERT_GT(full->passages.size(), 1u);
        EXPECT_EQ(c.stops ? 1u : full->passages.size(), list->passages.size());
    }
}

// A term's passages read up to the first and then on give the list one scan gives.
TEST(ExprEvaluateTest, ReadingATermOnFindsWhatOneScanFinds) {
    struct Case {
        const char* pattern;
        const char* text;
        int subexpression;
    };
    const Case cases[] = {
        {"aa", "aaaaa", 0},        {"a*b", "aab b ab", 0},   {"a(b)", "ab ab\nab", 1},
        {"(a)|(b)", "a b a", 2},   {"x", "no such byte", 0}, {"^c", "c\nc\nxc", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        CPatternRegistry registry;
        std::unique_ptr<CExprNode> root;
        int groups = 0;
        ASSERT_FALSE(CompileSearchExpression(c.pattern, {}, registry, root, groups));
        const auto* term = dynamic_cast<const CTermNode*>(root.get());
        ASSERT_NE(nullptr, term);
        const std::string text = c.text;
        std::unique_ptr<CPassageList> whole = term->Evaluate(text.c_str(), text.size(), c.subexpression);
        std::unique_ptr<CPassageList> read = term->EvaluateUpTo(text.c_str(), text.size(), c.subexpression, 1);
        ASSERT_NE(nullptr, whole);
        ASSERT_NE(nullptr, read);
        EXPECT_LE(read->size(), 1u);
        ASSERT_TRUE(term->Extend(*read, text.c_str(), text.size(), c.subexpression, SIZE_MAX));
        ASSERT_EQ(whole->size(), read->size());
        for (std::size_t i = 0; i < whole->size(); ++i) {
            EXPECT_EQ(whole->passages[i].start, read->passages[i].start);
            EXPECT_EQ(whole->passages[i].end, read->passages[i].end);
            EXPECT_EQ(whole->passages[i].marked, read->passages[i].marked);
        }
    }
}

} // namespace
} // namespace sorbex
