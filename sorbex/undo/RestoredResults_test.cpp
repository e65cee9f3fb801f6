// Tests of marking the results of restored files as not replaced, at their old offsets.
#include "undo/RestoredResults.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace sorbex {
namespace {

struct Passage {
    const char* name;
    int start, end; // as the page holds them after the walk
    int oldLength;  // what the excerpt keeps of the passage
    bool replaced;
};

CSearchResultArray PageOf(const std::vector<Passage>& passages) {
    CSearchResultArray page;
    for (const Passage& p : passages) {
        auto result = std::make_unique<CSearchResult>();
        result->dir = "/d/";
        result->name = p.name;
        result->start = p.start;
        result->end = p.end;
        result->excerpt = "x" + std::string(static_cast<std::size_t>(p.oldLength), 'p') + "x";
        result->excerptStart = 1;
        result->excerptEnd = 1 + p.oldLength;
        result->flags = p.replaced ? kResultReplaced : 0;
        page.Add(std::move(result));
    }
    return page;
}

TEST(RestoredResultsTest, ResultsOfRestoredFilesGoBackToTheirOldOffsets) {
    struct Case {
        const char* name;
        std::vector<Passage> after;
        std::vector<std::string> restored;
        std::vector<std::pair<int, int>> expectedOffsets;
        std::vector<bool> expectedReplaced;
        std::size_t expectedMarked;
    };
    // "grey" (4) replaced by "blue-green" (10): every replaced passage shifts the later
    // ones of its file by 6.
    const Case cases[] = {
        {"two replaced, one declined between",
         {{"a", 0, 10, 4, true}, {"a", 15, 19, 4, false}, {"a", 25, 35, 4, true}},
         {"/d/a"},
         {{0, 4}, {9, 13}, {19, 23}},
         {false, false, false},
         2},
        {"another file is untouched",
         {{"a", 0, 10, 4, true}, {"b", 0, 10, 4, true}},
         {"/d/a"},
         {{0, 4}, {0, 10}},
         {false, true},
         1},
        {"a passage longer than its excerpt stops the file's walk",
         {{"a", 0, 10, 510, true}, {"a", 20, 30, 4, true}, {"b", 0, 10, 4, true}},
         {"/d/a", "/d/b"},
         {{0, 10}, {20, 30}, {0, 4}},
         {true, true, false},
         1},
        {"nothing restored",
         {{"a", 0, 10, 4, true}},
         {},
         {{0, 10}},
         {true},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSearchResultArray page = PageOf(c.after);
        EXPECT_EQ(MarkRestoredResults(page, c.restored), c.expectedMarked);
        for (std::size_t i = 0; i < page.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(page[i].start, c.expectedOffsets[i].first);
            EXPECT_EQ(page[i].end, c.expectedOffsets[i].second);
            EXPECT_EQ((page[i].flags & kResultReplaced) != 0, c.expectedReplaced[i]);
        }
    }
}

} // namespace
} // namespace sorbex
