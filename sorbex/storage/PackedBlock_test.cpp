// Tests of packed blocks: both forms, and blocks that must fail rather than allocate.
#include "storage/PackedBlock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(PackedBlockTest, BothFormsRoundTrip) {
    const std::string text = std::string(5000, 'a') + "tail\xFF\0end";
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress ? "compressed" : "plain");
        std::vector<std::uint8_t> block;
        ASSERT_TRUE(PackBlock(text.data(), text.size(), compress, block));
        ASSERT_GE(block.size(), 8u);
        EXPECT_EQ(compress ? 1 : 0, block[0]);
        if (compress) {
            EXPECT_EQ(text.size(), block[4] | block[5] << 8 | block[6] << 16 | block[7] << 24);
            EXPECT_LT(block.size(), text.size() / 10);
        } else {
            EXPECT_EQ(text.size() + 4, block.size());
        }
        std::string back;
        ASSERT_TRUE(UnpackBlock(block.data(), block.size(), back));
        EXPECT_EQ(text, back);
    }
    std::vector<std::uint8_t> block = {9};
    EXPECT_FALSE(PackBlock("", 0, true, block)) << "an empty block cannot be packed";
    EXPECT_TRUE(block.empty());
}

TEST(PackedBlockTest, DamagedBlocksFail) {
    std::vector<std::uint8_t> good;
    ASSERT_TRUE(PackBlock("hello hello hello", 17, true, good));
    std::vector<std::uint8_t> flipped = good;
    flipped[10] ^= 0x55;
    std::vector<std::uint8_t> truncated(good.begin(), good.end() - 3);
    std::vector<std::uint8_t> longer = good;
    longer[4] = 18; // announces more than the data gives
    const std::vector<std::uint8_t> absurd = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x9C};
    const std::vector<std::uint8_t> shortFlag = {1, 0, 0};
    const std::vector<std::uint8_t> noLength = {1, 0, 0, 0, 5};
    const struct {
        const char* what;
        std::vector<std::uint8_t> block;
    } cases[] = {
        {"flipped bits", flipped},
        {"cut short", truncated},
        {"length too large", longer},
        {"absurd length, no huge allocation", absurd},
        {"shorter than the flag", shortFlag},
        {"no room for the length", noLength},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string data = "old";
        EXPECT_FALSE(UnpackBlock(c.block.data(), c.block.size(), data));
        EXPECT_TRUE(data.empty());
    }
    // Any flag other than 1 means the rest is the data.
    const std::vector<std::uint8_t> otherFlag = {2, 0, 0, 0, 'o', 'k'};
    std::string data;
    ASSERT_TRUE(UnpackBlock(otherFlag.data(), otherFlag.size(), data));
    EXPECT_EQ("ok", data);
}

} // namespace
} // namespace sorbex
