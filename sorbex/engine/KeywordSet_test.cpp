// Tests of the keyword set: the one-string and the many-string search, with folding.
#include "engine/KeywordSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/CaseFold.h"
#include "engine/TestRandom.h"

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

// `set` finds the `expected` hit in `text`, or nothing where `found` is false.
void ExpectHit(bool found, const CKeywordSet::Hit& expected, const CKeywordSet& set,
               const std::string& text) {
    CKeywordSet::Hit hit;
    ASSERT_EQ(found, set.Find(text.data(), text.size(), hit));
    if (found) {
        EXPECT_EQ(expected.start, hit.start);
        EXPECT_EQ(expected.end, hit.end);
        EXPECT_EQ(expected.keyword, hit.keyword);
    }
}

// The set searched many windows at a time finds what the plain loop finds.
void ExpectSameHit(const CKeywordSet& plain, const CKeywordSet& blocks, const std::string& text) {
    CKeywordSet::Hit expected;
    ExpectHit(plain.Find(text.data(), text.size(), expected), expected, blocks, text);
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

// The block filter against the plain loop on random keywords and texts, with case
// partners at both ends and texts longer than a block. On x86 builds the block filter
// must be in use (the product requires no more than the processor check).
TEST(KeywordSetTest, OneKeywordBlocksAgreeWithThePlainLoop) {
    CRandom random(20261209);
    const std::string alphabet = "abAB\xE4\xC4x\n";
    for (int round = 0; round < 300; ++round) {
        const bool caseFold = random.Next(2) == 0;
        const std::string word = random.Text(alphabet, 1 + random.Next(9));
        const CKeywordSet blocks({word}, caseFold);
        CKeywordSet plain({word}, caseFold);
        plain.UsePlainLoop();
#if defined(__i386__) || defined(__x86_64__)
        // A folded keyword whose ends have partners beyond bit 0x20 takes the loop.
        if (!caseFold) {
            EXPECT_TRUE(blocks.UsesVectors());
        }
#endif
        std::string text = random.Text(alphabet, random.Next(200));
        if (random.Next(2) == 0)
            text.insert(random.Next(text.size() + 1), word);
        SCOPED_TRACE("\"" + word + "\" in \"" + text + "\"" + (caseFold ? " folded" : ""));
        ExpectSameHit(plain, blocks, text);
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
        // Skipping windows as long as the shortest keyword.
        {{"abcdef", "cdef"}, false, "xxabcdef", "2-8"}, // the other ends first
        {{"wxyz", "wxyzab"}, false, "wxyzabc", "0-6"},  // the longer one at the same start
        {{"wxyzab", "wxyz"}, false, "wxyza", "0-4"},    // the longer one runs off the end
        {{"ERR_SYS", "PM_RESUME"}, true, "xpm_resume err_sys", "1-10"},
        {{"abab", "baba"}, false, "aababab", "1-5"},
        {{"\xFC\x62\x63\x64", "wxyz"}, true, "\xDC\x42\x43\x44", "0-4"},
    });
}

TEST(KeywordSetTest, EqualKeywordsReportTheFirstAdded) {
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"bbxyz", "abcd", "ABCD", "abcd"},
          std::vector<std::string>{"bb", "ab", "AB"}}) {
        SCOPED_TRACE(words.front());
        const CKeywordSet set(words, true);
        CKeywordSet::Hit hit;
        ASSERT_TRUE(set.Find("xAbCd", 5, hit));
        EXPECT_EQ(1u, hit.keyword);
    }
}

TEST(KeywordSetTest, KeywordsLongerThanATableShift) {
    // Windows this long move by less than their length; the result must not change.
    std::string shorter(40000, 'a');
    shorter.back() = 'b';
    const std::string longer = shorter + "c";
    const CKeywordSet set({shorter + "x", longer}, false);
    const std::string text = "aaa" + longer + "x";
    CKeywordSet::Hit hit;
    ASSERT_TRUE(set.Find(text.data(), text.size(), hit));
    EXPECT_EQ(3u, hit.start);
    EXPECT_EQ(1u, hit.keyword);
    EXPECT_FALSE(set.Find(text.data(), text.size() - 2, hit));
}

// The leftmost start, the longest keyword there, the first added among equal ones.
bool NaiveFind(const std::vector<std::string>& words, bool caseFold, const std::string& text,
               CKeywordSet::Hit& hit) {
    auto same = [caseFold](char a, char b) {
        const auto x = static_cast<unsigned char>(a);
        const auto y = static_cast<unsigned char>(b);
        return caseFold ? FoldToUpper(x) == FoldToUpper(y) : x == y;
    };
    for (std::size_t start = 0; start < text.size(); ++start) {
        bool found = false;
        for (std::size_t k = 0; k < words.size(); ++k) {
            const std::string& word = words[k];
            if (word.size() > text.size() - start ||
                (found && word.size() <= hit.end - hit.start)) {
                continue;
            }
            if (std::equal(word.begin(), word.end(),
                           text.begin() + static_cast<std::ptrdiff_t>(start), same)) {
                hit = {start, start + word.size(), k};
                found = true;
            }
        }
        if (found) {
            return true;
        }
    }
    return false;
}

TEST(KeywordSetTest, ManyKeywordsAgreeWithNaiveSearch) {
    // Few letters, so that keywords overlap, share prefixes and suffixes and occur
    // often; the shortest keyword's length decides between skipping and the automaton.
    struct Setup {
        const char* alphabet;
        std::size_t shortest;
        std::size_t mostKeywords;
    };
    const Setup setups[] = {
        {"ab", 1, 6},         {"abc", 2, 6},        {"abAB", 3, 8},   {"abcAB", 4, 12},
        {"ab\xE4\xC4", 4, 5}, {"abcdABCD_", 5, 20}, {"abcd", 6, 100}, {"aAbB\xDF", 8, 4},
    };
    CRandom random(20261208);
    for (const Setup& setup : setups) {
        const std::string alphabet = setup.alphabet;
        for (int round = 0; round < 50; ++round) {
            const bool caseFold = random.Next(2) == 0;
            std::vector<std::string> words(2 + random.Next(setup.mostKeywords - 1));
            std::string trace = caseFold ? "folded" : "exact";
            for (std::string& word : words) {
                word = random.Text(alphabet, setup.shortest + random.Next(13 - setup.shortest));
                trace += " \"" + word + "\"";
            }
            const CKeywordSet set(words, caseFold);
            for (int texts = 0; texts < 4; ++texts) {
                std::string text = random.Text(alphabet, random.Next(160));
                // Hits at the very start and the very end of the text.
                const std::string& first = words[random.Next(words.size())];
                const std::string& last = words[random.Next(words.size())];
                if (random.Next(3) == 0) {
                    text = first + text;
                }
                if (random.Next(3) == 0) {
                    text += last;
                }
                SCOPED_TRACE(trace + " in \"" + text + "\"");
                CKeywordSet::Hit expected;
                ExpectHit(NaiveFind(words, caseFold, text, expected), expected, set, text);
            }
        }
    }
}

// A few keywords searched many windows at a time against the pair shifts alone: hits
// on both sides of every block boundary and at the very end, keywords that overlap or
// hold one another, case partners, bytes from 0x80 up and zero bytes. On processors
// without the wide registers both sets take the pair shifts.
TEST(KeywordSetTest, FewKeywordsBlocksAgreeWithThePlainLoop) {
    const std::vector<std::vector<std::string>> sets = {
        {"ERR_SYS", "PME_TURN_OFF", "LINK_REQ_RST", "CFG_BME_EVT", "PM_RESUME"},
        {"abab", "baba", "ab\xE4", "bab"},
        {std::string("x\0y", 3), std::string("\0\0z", 3), "q\xFF\x80"},
        {"aaaa", "aaab", "aab", "ab"},
        {"\xFC\x62\x63", "\xDC\x42X", "zz", "Zz", "zZ", "ZZ", "zzz", "zzzz"},
    };
    CRandom random(20261210);
    for (const std::vector<std::string>& words : sets) {
        std::string letters;
        for (const std::string& word : words) {
            letters += word;
        }
        for (const bool caseFold : {false, true}) {
            const CKeywordSet blocks(words, caseFold);
            CKeywordSet plain(words, caseFold);
            plain.UsePlainLoop();
            EXPECT_FALSE(plain.UsesVectors());
#if defined(__i386__) || defined(__x86_64__)
            __builtin_cpu_init();
            EXPECT_EQ(__builtin_cpu_supports("avx2") != 0, blocks.UsesVectors());
#endif
            for (int round = 0; round < 200; ++round) {
                // Up to three blocks of decoys made of the keywords' own bytes, with a
                // keyword, or one cut short, put anywhere.
                std::string text = random.Text(letters + "\n ", random.Next(100));
                const std::string& word = words[random.Next(words.size())];
                const std::size_t kept = random.Next(3) == 0 ? word.size() - 1 : word.size();
                text.insert(random.Next(text.size() + 1), word.substr(0, kept));
                if (caseFold && random.Next(2) == 0) {
                    for (char& c : text) {
                        c = static_cast<char>(FoldToUpper(static_cast<unsigned char>(c)));
                    }
                }
                SCOPED_TRACE(std::to_string(words.size()) + " keywords, \"" + text + "\"" +
                             (caseFold ? " folded" : ""));
                ExpectSameHit(plain, blocks, text);
            }
            // Every place of one keyword in a long run of a decoy that shares its probes'
            // bytes only in part.
            const std::string& word = words.front();
            for (std::size_t at = 0; at + word.size() <= 80; ++at) {
                std::string text(80, words.back()[0] == 'z' ? 'y' : 'z');
                text.replace(at, word.size(), word);
                CKeywordSet::Hit hit;
                ASSERT_TRUE(blocks.Find(text.data(), text.size(), hit)) << at;
                EXPECT_EQ(at, hit.start);
                EXPECT_EQ(0u, hit.keyword);
            }
        }
    }
}

} // namespace
} // namespace sorbex
