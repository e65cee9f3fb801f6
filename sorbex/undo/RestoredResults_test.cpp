// Tests of marking the results of restored files as not replaced, at their old offsets.
#include "undo/RestoredResults.h"

#include <gtest/gtest.h>

#include "platform/testing/TempTree.h"

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

TEST(RestoredResultsTest, AFileWhosePassagesAreNotBackKeepsItsMarks) {
    // File a's passages are back at their old offsets; b's first one is not (the page's
    // replacement of b came from a walk that was not undone).
    CSearchResultArray page = PageOf({{"a", 0, 10, 4, true},
                                      {"a", 20, 30, 4, true},
                                      {"b", 0, 10, 4, true},
                                      {"b", 20, 30, 4, true}});
    std::vector<std::string> asked;
    const auto holds = [&](const CSearchResult& r) {
        asked.push_back(r.name + "@" + std::to_string(r.start));
        return !(r.name == "b" && r.start == 0);
    };
    EXPECT_EQ(2u, MarkRestoredResults(page, {"/d/a", "/d/b"}, holds));
    EXPECT_EQ((std::vector<std::string>{"a@0", "a@14", "b@0"}), asked)
        << "old offsets, and a file's checks end at its first miss";
    const int expectedStarts[] = {0, 14, 0, 20};
    for (std::size_t i = 0; i < page.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expectedStarts[i], page[i].start);
        EXPECT_EQ(i >= 2, (page[i].flags & kResultReplaced) != 0);
    }
    EXPECT_EQ(0u, MarkRestoredResults(page, {"/d/c"}, holds));
}

TEST(RestoredResultsTest, RestoredFilesAreReadAsTheSearchReadThem) {
    kestrix::TempTree tree;
    tree.Write("plain.txt", "a grey cat\n");
    // UTF-16LE with its byte-order mark: offsets count characters, not bytes.
    tree.Write("wide.txt", std::string("\xFF\xFE" "a\0 \0g\0r\0e\0y\0", 14));
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    CRestoredFiles files(*fs);
    const auto result = [&](const char* name, int start) {
        CSearchResult r;
        r.dir = tree.Path("");
        r.name = name;
        r.start = start;
        r.end = start + 4;
        r.excerpt = "grey";
        r.excerptStart = 0;
        r.excerptEnd = 4;
        return r;
    };
    EXPECT_TRUE(files.HoldsPassage(result("plain.txt", 2), CEncodingChoice::Auto));
    EXPECT_FALSE(files.HoldsPassage(result("plain.txt", 3), CEncodingChoice::Auto));
    EXPECT_TRUE(files.HoldsPassage(result("wide.txt", 2), CEncodingChoice::Auto));
    EXPECT_FALSE(files.HoldsPassage(result("wide.txt", 2), CEncodingChoice::Ansi));
    EXPECT_FALSE(files.HoldsPassage(result("gone.txt", 0), CEncodingChoice::Auto));
}

} // namespace
} // namespace sorbex
