// The chunked byte run under a temporary compound file in memory: what is written reads
// back across chunk edges, gaps and cut-off tails read as zeros, reads stop at the end.
#include "platform/compound/ChunkedBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {
namespace compound {
namespace {

constexpr std::size_t kChunk = ChunkedBytes::kChunkBytes;

std::string Pattern(std::size_t size, char seed) {
    std::string text(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        text[i] = static_cast<char>(seed + i % 251);
    return text;
}

std::string ReadAll(const ChunkedBytes& bytes) {
    std::string out(static_cast<std::size_t>(bytes.size()), '\0');
    EXPECT_EQ(out.size(), bytes.ReadAt(0, &out[0], out.size()));
    return out;
}

TEST(ChunkedBytesTest, WritesReadBackAcrossChunkEdges) {
    struct Case {
        const char* what;
        std::uint64_t offset;
        std::size_t size;
    };
    const Case cases[] = {
        {"inside the first chunk", 10, 100},
        {"up to a chunk's end", kChunk - 100, 100},
        {"across one edge", kChunk - 7, 20},
        {"over several chunks", 3, 3 * kChunk + 11},
        {"starting on an edge", 2 * kChunk, kChunk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChunkedBytes bytes;
        const std::string data = Pattern(c.size, 'a');
        ASSERT_TRUE(bytes.WriteAt(c.offset, data.data(), data.size()));
        EXPECT_EQ(c.offset + c.size, bytes.size());
        std::string back(c.size, '\0');
        EXPECT_EQ(c.size, bytes.ReadAt(c.offset, &back[0], back.size()));
        EXPECT_EQ(data, back);
        const std::string all = ReadAll(bytes);
        EXPECT_EQ(std::string(static_cast<std::size_t>(c.offset), '\0'), all.substr(0, c.offset))
            << "the gap before the write reads as zeros";
    }
}

TEST(ChunkedBytesTest, ReadsStopAtTheEnd) {
    ChunkedBytes bytes;
    const std::string data = Pattern(kChunk + 5, 'x');
    ASSERT_TRUE(bytes.WriteAt(0, data.data(), data.size()));
    std::string back(100, '?');
    EXPECT_EQ(5u, bytes.ReadAt(kChunk, &back[0], back.size()));
    EXPECT_EQ(data.substr(kChunk), back.substr(0, 5));
    EXPECT_EQ(0u, bytes.ReadAt(kChunk + 5, &back[0], back.size()));
    EXPECT_EQ(0u, bytes.ReadAt(10 * kChunk, &back[0], back.size()));
    EXPECT_TRUE(bytes.WriteAt(10 * kChunk, nullptr, 0)) << "an empty write changes nothing";
    EXPECT_EQ(kChunk + 5, bytes.size());
}

TEST(ChunkedBytesTest, ACutTailReadsAsZerosWhenTheRunGrowsAgain) {
    struct Case {
        std::uint64_t cutTo;
    };
    // Inside a chunk, on its edge, and to nothing at all.
    const Case cases[] = {{kChunk + 9}, {kChunk}, {0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cutTo);
        ChunkedBytes bytes;
        const std::string data = Pattern(3 * kChunk, 'k');
        ASSERT_TRUE(bytes.WriteAt(0, data.data(), data.size()));
        ASSERT_TRUE(bytes.SetSize(c.cutTo));
        EXPECT_EQ(c.cutTo, bytes.size());
        ASSERT_TRUE(bytes.SetSize(3 * kChunk));
        const std::string all = ReadAll(bytes);
        EXPECT_EQ(data.substr(0, c.cutTo), all.substr(0, c.cutTo));
        EXPECT_EQ(std::string(3 * kChunk - c.cutTo, '\0'), all.substr(c.cutTo));
    }
}

TEST(ChunkedBytesTest, ASizeBeyondMemoryFailsAndLeavesTheRunAsItWas) {
    ChunkedBytes bytes;
    const std::string data = Pattern(100, 'q');
    ASSERT_TRUE(bytes.WriteAt(0, data.data(), data.size()));
    EXPECT_FALSE(bytes.SetSize(~std::uint64_t{0} - 1));
    EXPECT_FALSE(bytes.WriteAt(~std::uint64_t{0} - 10, data.data(), data.size()))
        << "an end past the largest offset";
    EXPECT_EQ(100u, bytes.size());
    EXPECT_EQ(data, ReadAll(bytes));
}

} // namespace
} // namespace compound
} // namespace kestrix
