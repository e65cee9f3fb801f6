// The system's compound files against files written on both systems: each build
// must read what the other wrote, byte for byte, as the stored cache and result files
// move between them.
#include "platform/CompoundStorage.h"
#include "platform/testing/CompoundTreeText.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace kestrix {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

const std::string kTestData = KESTRIX_COMPOUND_TESTDATA;

TEST(SystemCompoundFiles, ReadsTheFilesWrittenOnBothSystems) {
    const std::string expected = ReadText(kTestData + "/compound-tree.txt");
    ASSERT_FALSE(expected.empty());
    for (const char* name : {"compound-native.cfb", "compound-wine.cfb"}) {
        SCOPED_TRACE(name);
        const std::string path = kTestData + "/" + name;
        EXPECT_TRUE(SystemCompoundFiles().IsCompoundFile(path));
        std::unique_ptr<Storage> root;
        using namespace StorageMode;
        ASSERT_FALSE(SystemCompoundFiles().Open(path, kRead | kShareDenyWrite, root));
        EXPECT_EQ(expected, testtree::Dump(*root));
    }
}

TEST(SystemCompoundFiles, WritesTheSameTreeItReads) {
    const std::string expected = ReadText(kTestData + "/compound-tree.txt");
    TempTree dir;
    std::unique_ptr<Storage> root;
    using namespace StorageMode;
    ASSERT_FALSE(SystemCompoundFiles().Create(dir.Path("known.cfb"),
                                              kCreate | kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(testtree::Build(*root, expected));
    root.reset(); // a direct root writes its file when released
    ASSERT_FALSE(SystemCompoundFiles().Open(dir.Path("known.cfb"), kRead | kShareDenyWrite, root));
    EXPECT_EQ(expected, testtree::Dump(*root));
}

} // namespace
} // namespace kestrix
