// Tests of the cache's name hash, entry layout and "Index" stream reader.
#include "storage/CacheIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(CacheIndexTest, NameHashLowersAsciiAndTakesHighBytesAsNegative) {
    const struct {
        const char* name;
        std::uint32_t hash;
    } cases[] = {
        {"", 0u},
        {"a", 97u},
        {"ab", 97u * 33u + 98u},
        {"AB", 97u * 33u + 98u},
        {"\xE4", 0xFFFFFFE4u}, // -28
        {"\xC4", 0xFFFFFFC4u}, // no lower-casing beyond ASCII
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hash, CacheNameHash(c.name));
    }
    // Wraps modulo 2^32 like the 32-bit sum.
    std::uint32_t expected = 0;
    for (char ch : std::string("a-rather-long-file-name.document"))
        expected = expected * 33u + static_cast<unsigned char>(ch);
    EXPECT_EQ(expected, CacheNameHash("A-Rather-Long-File-Name.DOCUMENT"));
}

TEST(CacheIndexTest, EntriesKeepTheirFixedLayout) {
    CacheIndex index;
    index.nextId = 7;
    CacheEntry e;
    e.directory = "C:\\docs\\";
    e.name = "x.doc";
    e.size = 0x01020304;
    e.creationTime = 0x1112131415161718ULL;
    e.lastWriteTime = 0x2122232425262728ULL;
    e.id = 6;
    index.entries = {e, e};
    index.entries[1].id = 3;
    const std::vector<std::uint8_t> bytes = WriteCacheIndex(index);
    ASSERT_EQ(12u + 2 * 544u, bytes.size());
    EXPECT_EQ(0, bytes[0]);
    EXPECT_EQ(7, bytes[4]);
    EXPECT_EQ(2, bytes[8]);
    const std::uint8_t* first = bytes.data() + 12;
    EXPECT_EQ('C', first[0]);
    EXPECT_EQ(0, first[8]);
    EXPECT_EQ('x', first[260]);
    EXPECT_EQ(0x04, first[520]);
    EXPECT_EQ(0x18, first[524]) << "creation time, low word first";
    EXPECT_EQ(0x11, first[531]);
    EXPECT_EQ(0x28, first[532]);
    EXPECT_EQ(6, first[540]);

    CacheIndex back;
    ASSERT_TRUE(ReadCacheIndex(bytes.data(), bytes.size(), back));
    EXPECT_EQ(7u, back.nextId);
    ASSERT_EQ(2u, back.entries.size());
    EXPECT_EQ(e.directory, back.entries[0].directory);
    EXPECT_EQ(e.name, back.entries[0].name);
    EXPECT_EQ(e.size, back.entries[0].size);
    EXPECT_EQ(e.creationTime, back.entries[0].creationTime);
    EXPECT_EQ(e.lastWriteTime, back.entries[0].lastWriteTime);
    EXPECT_EQ(3u, back.entries[1].id);

    EXPECT_TRUE(FitsCacheEntry(std::string(259, 'd'), std::string(259, 'n')));
    EXPECT_FALSE(FitsCacheEntry(std::string(260, 'd'), "n"));
    EXPECT_FALSE(FitsCacheEntry("d", std::string(260, 'n')));
}

TEST(CacheIndexTest, HostileIndexesFailWithoutAllocating) {
    CacheIndex one;
    one.nextId = 1;
    one.entries.resize(1);
    one.entries[0].name = "x";
    const std::vector<std::uint8_t> good = WriteCacheIndex(one);
    std::vector<std::uint8_t> countTooBig = good;
    countTooBig[8] = 2;
    std::vector<std::uint8_t> absurdCount = good;
    absurdCount[8] = absurdCount[9] = absurdCount[10] = absurdCount[11] = 0xFF;
    std::vector<std::uint8_t> unterminated = good;
    for (std::size_t i = 12 + 260; i < 12 + 520; ++i)
        unterminated[i] = 'n';
    const std::vector<std::uint8_t> header(good.begin(), good.begin() + 11);
    const struct {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool ok;
        std::size_t entries;
    } cases[] = {
        {"good", good, true, 1},
        {"count beyond the bytes", countTooBig, false, 0},
        {"absurd count", absurdCount, false, 0},
        {"name without its NUL", unterminated, false, 0},
        {"header cut short", header, false, 0},
        {"nothing", {}, false, 0},
        {"another version reads as empty", {1, 0, 0, 0, 9, 9, 9, 9}, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CacheIndex index = one;
        EXPECT_EQ(c.ok, ReadCacheIndex(c.bytes.data(), c.bytes.size(), index));
        EXPECT_EQ(c.entries, index.entries.size());
        if (!c.entries) {
            EXPECT_EQ(0u, index.nextId);
        }
    }
}

} // namespace
} // namespace sorbex
