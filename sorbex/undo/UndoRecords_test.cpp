// Tests of the undo journal's record files: round trips and records that must be refused.
#include "undo/UndoRecords.h"

#include <gtest/gtest.h>

#include <string>

#include "undo/ContentHash.h"

namespace sorbex {
namespace {

TEST(UndoRecordsTest, RecordsReadBackAsWritten) {
    CUndoKept kept;
    kept.path = std::string("/tmp/odd name\nwith a break and \xe9", 33);
    kept.oldSize = 4294967296ULL + 5;
    kept.oldHash = 0xfedcba9876543210ULL;
    kept.attributes = 0x81a4;
    CUndoKept keptBack;
    ASSERT_TRUE(ParseKept(FormatKept(kept), keptBack));
    EXPECT_EQ(keptBack.path, kept.path);
    EXPECT_EQ(keptBack.oldSize, kept.oldSize);
    EXPECT_EQ(keptBack.oldHash, kept.oldHash);
    EXPECT_EQ(keptBack.attributes, kept.attributes);

    const CUndoLeft left{12, 133000000000000000ULL, 0x0123456789abcdefULL};
    CUndoLeft leftBack;
    ASSERT_TRUE(ParseLeft(FormatLeft(left), leftBack));
    EXPECT_EQ(leftBack.size, left.size);
    EXPECT_EQ(leftBack.writeTime, left.writeTime);
    EXPECT_EQ(leftBack.hash, left.hash);

    CUndoWalkRecord walk;
    walk.started = 1765280000;
    CUndoWalkRecord walkBack;
    ASSERT_TRUE(ParseWalkRecord(FormatWalkRecord(walk), walkBack));
    EXPECT_EQ(walkBack.started, walk.started);
}

TEST(UndoRecordsTest, RecordsOfAnotherKindOrVersionOrIncompleteAreRefused) {
    const std::string good = "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789abcdef\n"
                             "attributes 0\npath /a\n";
    const char* bad[] = {
        "",
        "sorbex-undo-kept 2\nold-size 3\nold-hash 0123456789abcdef\nattributes 0\npath /a\n",
        "sorbex-undo-left 1\nold-size 3\nold-hash 0123456789abcdef\nattributes 0\npath /a\n",
        "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789abcdef\nattributes 0\n",
        "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789ABCDEF\nattributes 0\npath /a\n",
        "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789abcdef\nattributes 0\npath /a",
        "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789abcdef\nattributes 0\npath \n",
        "sorbex-undo-kept 1\nold-size 99999999999999999999\nold-hash 0123456789abcdef\n"
        "attributes 0\npath /a\n",
        "sorbex-undo-kept 1\nold-size -3\nold-hash 0123456789abcdef\nattributes 0\npath /a\n",
        "sorbex-undo-kept 1\nold-size 3\nold-hash 0123456789abcdef\nattributes 4294967296\n"
        "path /a\n",
        "sorbex-undo-kept 1 \nold-size 3\nold-hash 0123456789abcdef\nattributes 0\npath /a\n",
        "sorbex-undo-kept 1\nold-size\nold-hash 0123456789abcdef\nattributes 0\npath /a\n",
    };
    CUndoKept kept;
    ASSERT_TRUE(ParseKept(good, kept));
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseKept(text, kept));
    }
    CUndoLeft left;
    EXPECT_FALSE(ParseLeft("sorbex-undo-left 1\nsize 1\nhash 0123456789abcdef\n", left));
    CUndoWalkRecord walk;
    EXPECT_FALSE(ParseWalkRecord("sorbex-undo-walk 1\nstarted 9223372036854775808\n", walk));
}

TEST(UndoRecordsTest, ContentHashTellsSmallChangesApart) {
    EXPECT_EQ(HashText(ContentHash("")), "cbf29ce484222325");
    EXPECT_NE(ContentHash("ab"), ContentHash("ba"));
    EXPECT_NE(ContentHash(std::string("a\0", 2)), ContentHash("a"));
    std::uint64_t back = 0;
    EXPECT_TRUE(ParseHashText(HashText(0x8000000000000001ULL), back));
    EXPECT_EQ(back, 0x8000000000000001ULL);
}

} // namespace
} // namespace sorbex
