// The replacement engine: case rule, capacity rule and the segments it reports.
#include "registry/ReplaceAll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

struct Outcome {
    int fitted;
    std::string text;
    bool replaced;
};

Outcome Replace(std::string_view source, std::string_view find, std::string_view replacement,
                bool matchCase, std::size_t capacity = 64) {
    std::vector<char> out(capacity + 1, '#');
    bool replaced = false;
    int fitted = ReplaceAll(out.data(), capacity, source, find, replacement, matchCase, &replaced);
    return {fitted, fitted ? std::string(out.data()) : std::string(), replaced};
}

TEST(ReplaceAll, ReplacesEveryOccurrenceByTheCaseRule) {
    struct Case {
        const char* source;
        const char* find;
        const char* replacement;
        bool matchCase;
        const char* expected;
        bool replaced;
    } cases[] = {
        {"ABcab", "ab", "x", false, "xcx", true},
        {"ABcab", "ab", "x", true, "ABcx", true},
        {"aaaa", "aa", "b", false, "bb", true},        // no overlap, left to right
        {"Straße", "SS", "x", false, "Straße", false}, // only a-z fold
        {"keep Case", "CASE", "x", true, "keep Case", false},
        {"value", "", "x", false, "value", false},
        {"", "a", "x", false, "", false},
        {"a.b.c", ".", "", false, "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " / " + c.find);
        Outcome o = Replace(c.source, c.find, c.replacement, c.matchCase);
        EXPECT_EQ(1, o.fitted);
        EXPECT_EQ(c.expected, o.text);
        EXPECT_EQ(c.replaced, o.replaced);
    }
}

TEST(ReplaceAll, ResultOfExactlyTheCapacityFitsOneMoreDoesNot) {
    // "xcx" is 3 characters.
    EXPECT_EQ("xcx", Replace("ABcab", "ab", "x", false, 3).text);
    EXPECT_EQ(1, Replace("ABcab", "ab", "x", false, 3).fitted);
    EXPECT_EQ(0, Replace("ABcab", "ab", "x", false, 2).fitted);
    EXPECT_EQ(1, Replace("plain", "zz", "x", false, 5).fitted);
    EXPECT_EQ(0, Replace("plain", "zz", "x", false, 4).fitted);
    // An overflowing result never writes past the buffer's capacity + 1 bytes.
    std::vector<char> out(4, '#');
    bool replaced = false;
    EXPECT_EQ(0, ReplaceAll(out.data(), 2, "abab", "b", "XYZ", true, &replaced));
    EXPECT_EQ('#', out[3]);
}

TEST(ReplaceAll, SegmentsShowNewTextOrOldTextOfTheSource) {
    std::vector<std::pair<std::string, bool>> segments;
    auto record = [&](std::string_view text, bool changed) {
        segments.emplace_back(std::string(text), changed);
    };
    char out[32];
    bool replaced = false;
    ASSERT_EQ(1, ReplaceAll(out, 31, "one Two end", "two", "2", false, &replaced, record));
    using Segments = std::vector<std::pair<std::string, bool>>;
    EXPECT_EQ((Segments{{"one ", false}, {"2", true}, {" end", false}}), segments);
    // The wizard's old-text view: replacement equal to the find text, old flag set.
    segments.clear();
    ASSERT_EQ(1, ReplaceAll(out, 31, "one Two end", "two", "two", false, &replaced, record, true));
    EXPECT_EQ((Segments{{"one ", false}, {"Two", true}, {" end", false}}), segments);
    EXPECT_STREQ("one two end", out);
}

} // namespace
} // namespace keywright
