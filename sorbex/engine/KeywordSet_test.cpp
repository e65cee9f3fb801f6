// Tests of the keyword set: the one-string and the many-string search, with folding.
#include "engine/KeywordSet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

struct Case {
    std::vector<std::string> keywords;
    bool caseFold;
    std::string text;
    const char* expected; // "start-end", or "none"
};

std::string Find(const Case& c) {
    const CKeywordSet set(c.keywords, c.caseFold);
    CKeywordSet::Hit hit;
    if (!set.Find(c.text.data(), c.text.size(), hit)) {
        return "none";
    }
    return std::to_string(hit.start) + "-" + std::to_string(hit.end);
}

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::string keywords;
        for (const std::string& k : c.keywords) {
            keywords += "\"" + k + "\" ";
        }
        SCOPED_TRACE(keywords + (c.caseFold ? "folded" : "exact") + " in \"" + c.text + "\"");
        EXPECT_EQ(c.expected, Find(c));
    }
}

TEST(KeywordSetTest, OneKeyword) {
    RunCases({
        {{}, false, "anything", "none"},
        {{"ab"}, false, "xxab", "2-4"}, // at the very end of the buffer
        {{"ab"}, false, "ab", "0-2"},
        {{"abc"}, false, "ab", "none"}, // longer than the text
        {{"aab"}, false, "aaaab", "2-5"},
        {{"ab"}, false, "a\nb", "none"},
        {{"ab"}, false, "", "none"},
        {{"Ab"}, false, "ab AB Ab", "6-8"},
        {{"Ab"}, true, "xx aB", "3-5"},
        {{"\xE4"}, true, "x\xC4", "1-2"}, // Ä and ä are one letter when folding
        {{"\xC4x"}, true, "\xE4X", "0-2"},
        {{"\xE4"}, false, "x\xC4", "none"},
        {{"\xDF"}, true, "ss SS", "none"}, // ß has no other form
    });
}

TEST(KeywordSetTest, OneKeywordAtEveryOffset) {
    // Long texts go through the block filter, their last bytes through the byte loop;
    // a decoy with the right first and last letters stands ahead of every real hit.
    const CKeywordSet folded({"\xFCxY\xE4"}, true);
    const CKeywordSet exact({"\xFCxY\xE4"}, false);
    for (std::size_t length = 4; length <= 70; ++length) {
        for (std::size_t at = 0; at + 4 <= length; ++at) {
            std::string text(length, 'q');
            text.replace(at, 4, "\xDCXy\xC4");
            if (at >= 4) {
                text.replace(at - 4, 4, "\xFCxz\xE4");
            }
            SCOPED_TRACE("length " + std::to_string(length) + ", at " + std::to_string(at));
            CKeywordSet::Hit hit;
            ASSERT_TRUE(folded.Find(text.data(), text.size(), hit));
            EXPECT_EQ(at, hit.start);
            EXPECT_EQ(at + 4, hit.end);
            EXPECT_FALSE(exact.Find(text.data(), text.size(), hit));
            EXPECT_FALSE(folded.Find(text.data(), at + 3, hit));
        }
    }
}

TEST(KeywordSetTest, ManyKeywords) {
    RunCases({
        {{"he", "she", "his", "hers"}, false, "ushers", "1-4"},
        {{"abcd", "bc"}, false, "xabcd", "1-5"}, // "bc" ends first, "abcd" starts first
        {{"ab", "abc"}, false, "abc", "0-3"},    // the longer one at the same start
        {{"abc", "ab"}, false, "abx", "0-2"},
        {{"xy", "zz"}, false, "aaazz", "3-5"}, // at the very end of the buffer
        {{"aa", "aa"}, false, "baa", "1-3"},
        {{"cat", "dog"}, false, "cow", "none"},
        {{"cat", "\xFC\x62"},
         true,
         "the \xDC"
         "B",
         "4-6"},
        {{"CAT", "dog"}, true, "Dog cat", "0-3"},
        {{"bcd", "abcde"}, false, "abcdx", "1-4"},
    });
}

} // namespace
} // namespace sorbex
