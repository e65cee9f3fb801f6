// Tests of the result file's page list layout and its reader on damaged bytes.
#include "resultfile/PageList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(PageListTest, LayoutAndStreamNames) {
    CPageList list;
    list.nextPageNumber = 0x11;
    list.pages = {{"P0", "abc"}, {"", "empty page"}};
    const std::vector<std::uint8_t> bytes = WritePageList(list);
    const std::vector<std::uint8_t> expected = {
        1,   0,   0,   0, 0x11, 0,   0,   0,   2,   0,   0,   0,   2,   'P', '0', 3,
        'a', 'b', 'c', 0, 10,   'e', 'm', 'p', 't', 'y', ' ', 'p', 'a', 'g', 'e'};
    EXPECT_EQ(expected, bytes);
    CPageList back;
    ASSERT_TRUE(ReadPageList(bytes.data(), bytes.size(), back));
    EXPECT_EQ(0x11u, back.nextPageNumber);
    ASSERT_EQ(2u, back.pages.size());
    EXPECT_EQ("P0", back.pages[0].streamName);
    EXPECT_EQ("empty page", back.pages[1].caption);
    EXPECT_EQ("", back.pages[1].streamName);

    EXPECT_EQ("P0", PageStreamName(0));
    EXPECT_EQ("Pf", PageStreamName(15));
    EXPECT_EQ("P10", PageStreamName(16));
    EXPECT_EQ("Pffffffff", PageStreamName(0xFFFFFFFFu));
}

TEST(PageListTest, DamagedAndForeignListsReadSafely) {
    CPageList one;
    one.pages = {{"P0", "caption"}};
    const std::vector<std::uint8_t> good = WritePageList(one);
    std::vector<std::uint8_t> hugeCount = good;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = 0xFF;
    hugeCount[11] = 0x7F;
    std::vector<std::uint8_t> negative = good;
    negative[8] = negative[9] = negative[10] = negative[11] = 0xFF;
    std::vector<std::uint8_t> longString = good;
    longString[15] = 200; // the caption claims more bytes than follow
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool ok;
        std::size_t pages;
    } cases[] = {
        {"good", good, true, 1},
        {"count far beyond the bytes", hugeCount, false, 0},
        {"negative count reads as none", negative, true, 0},
        {"string longer than the stream", longString, false, 0},
        {"another version", {2, 0, 0, 0, 1, 0, 0, 0, 5, 0, 0, 0}, true, 0},
        {"cut inside the header", {1, 0, 0, 0, 1, 0}, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPageList list = one;
        EXPECT_EQ(c.ok, ReadPageList(c.bytes.data(), c.bytes.size(), list));
        EXPECT_EQ(c.pages, list.pages.size());
    }
}

} // namespace
} // namespace sorbex
