// Tests of the prefilters of a term: which keywords and automaton a pattern gets, the
// candidates they report, and patterns that the dfa parser refuses.
#include "engine/PatternPrefilter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/PrefilterPattern.h"

namespace sorbex {
namespace {

// "keywords [exact] [dfa]", or "none" for a pattern without prefilters.
std::string Describe(const std::string& pattern, bool caseFold, bool wholeWords) {
    std::unique_ptr<CPatternPrefilter> prefilter;
    EXPECT_EQ(0u, CPatternPrefilter::Build(pattern, caseFold, wholeWords, prefilter));
    if (prefilter == nullptr) {
        return "none";
    }
    std::string out;
    if (prefilter->Keywords() != nullptr) {
        for (const std::string& word : prefilter->Keywords()->Words()) {
            out += word + ",";
        }
    }
    out += prefilter->KeywordsAreExact() ? " exact" : "";
    out += prefilter->HasAutomaton() ? " dfa" : "";
    return out;
}

TEST(PatternPrefilterTest, KeywordsAndAutomaton) {
    struct Case {
        const char* pattern;
        bool caseFold;
        bool wholeWords;
        const char* expected;
    };
    const Case cases[] = {
        {"abc", false, false, "abc, exact"},
        {"abc", false, true, "abc, exact dfa"}, // the word rule needs the automaton
        {"foo|bar", false, false, "foo,bar, exact"},
        {"one\ntwo", false, false, "one,two, exact"}, // a line feed separates alternatives
        {"Stra\xDF"
         "e",
         true, false,
         "stra\xDF"
         "e, exact"},
        {"\xC4rger", true, false, "\xE4rger, exact"},
        {"\xC4rger", false, false, "\xC4rger, exact"},
        {"(ab)c", false, false, "abc, exact"},
        {"x.*yz", false, false, "yz, dfa"},
        {"^abc", false, false, "abc, dfa"}, // anchored: a hit is no match yet
        {"(a)\\1x", false, false, "a, dfa"},
        {"\\bword\\b", true, false, "word, dfa"},
        {"(a|b)", false, false, " dfa"},  // no string common to every match
        {"abc|x*", false, false, " dfa"}, // one alternative matches the empty string
        {"a[\n]b", false, false, " dfa"}, // a keyword with a line feed never matches
        {"*abc", false, false, "none"},   // a repetition of nothing
        {"(^a|b)", false, false, "none"}, // an anchor inside a group
        {"x\\a", true, false, "none"},    // an escaped letter stays unfolded
        {"x\\a", false, false, "xa, exact"},
        {"x\\w", true, false, "x, dfa"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + (c.caseFold ? " folded" : "") +
                     (c.wholeWords ? " words" : ""));
        EXPECT_EQ(c.expected, Describe(c.pattern, c.caseFold, c.wholeWords));
    }
}

TEST(PatternPrefilterTest, FoldsThePatternAsTheLibraryDoes) {
    const CPrefilterPattern prepared = PreparePrefilterPattern("a\\wb[c-e\\f][[.x.]]|\xE4", true);
    ASSERT_TRUE(prepared.usable);
    // Escaped bytes and collating names keep their case; everything else is folded.
    EXPECT_EQ("A\\wB[C-E\\F][[.x.]]|\xC4", prepared.folded);
    ASSERT_EQ(2u, prepared.alternatives.size());
    EXPECT_EQ("\xC4", prepared.alternatives[1]);
}

// Candidates are reported as the start of their line; exact keywords give the span.
TEST(PatternPrefilterTest, ReportsCandidateLinesAndExactSpans) {
    const std::string text = "one\ntwo cat\nthree\nCAT";
    const char* begin = text.data();
    const char* end = begin + text.size();

    std::unique_ptr<CPatternPrefilter> exact;
    ASSERT_EQ(0u, CPatternPrefilter::Build("cat", true, false, exact));
    const char* matchStart = nullptr;
    const char* matchEnd = nullptr;
    EXPECT_EQ(begin + 4, exact->NextCandidate(begin, end, matchStart, matchEnd));
    EXPECT_EQ(begin + 8, matchStart);
    EXPECT_EQ(begin + 11, matchEnd);
    EXPECT_EQ(begin + 18, exact->NextCandidateLine(begin + 12, end));

    std::unique_ptr<CPatternPrefilter> anchored;
    ASSERT_EQ(0u, CPatternPrefilter::Build("^CAT", false, false, anchored));
    EXPECT_EQ(begin + 18, anchored->NextCandidate(begin, end, matchStart, matchEnd));
    EXPECT_EQ(nullptr, matchStart);
    EXPECT_EQ(nullptr, anchored->NextCandidateLine(begin + 19, end)); // mid-line start

    std::unique_ptr<CPatternPrefilter> automatonOnly;
    ASSERT_EQ(0u, CPatternPrefilter::Build("[hw][or]", false, false, automatonOnly));
    ASSERT_EQ(nullptr, automatonOnly->Keywords());
    EXPECT_EQ(begin + 4, automatonOnly->NextCandidateLine(begin, end));
    EXPECT_EQ(begin + 12, automatonOnly->NextCandidateLine(begin + 6, end));
    EXPECT_EQ(nullptr, automatonOnly->NextCandidateLine(begin + 15, end));
}

// The dfa module would end the process on these; here they come back as a status, and
// the half-built automaton is freed (the leak checker of the sanitizer build watches).
TEST(PatternPrefilterTest, PatternsTheDfaParserRefusesAreSafe) {
    for (const char* pattern : {"a[", "(a", "a)", "a{1", "a{2,1}", "[[.a", "a\\", "x{99999}"}) {
        SCOPED_TRACE(pattern);
        std::unique_ptr<CDfaSearcher> searcher;
        EXPECT_EQ(DfaStatus::kRejected, CDfaSearcher::Build(pattern, searcher));
        EXPECT_EQ(nullptr, searcher);
    }
    std::unique_ptr<CDfaSearcher> searcher;
    EXPECT_EQ(DfaStatus::kOk, CDfaSearcher::Build("a+b", searcher)); // still usable after
}

} // namespace
} // namespace sorbex
