// The cache when the disk fills up in the middle of writing it back: the file on the
// disk keeps the entries it had.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>

#include "cache/DocCache.h"
#include "platform/CompoundStorage.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

using kestrix::FileBytes;

TEST(DocCacheWriteFaultsTest, ACacheWrittenBackCutOffAnywhereKeepsItsEntries) {
    kestrix::TempTree tree;
    const auto system = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs(*system);
    const std::string dir = tree.Path("docs") + kestrix::kPathSeparator;
    tree.Write("docs/old.doc", "old");
    tree.Write("docs/new.doc", "new");
    const std::string path = tree.Path("sbxCache.tmp");
    {
        CDocCache cache(fs, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(cache.OpenAt(path));
        const std::string text(5000, 'o');
        ASSERT_TRUE(cache.Store(dir, "old.doc", text.data(), text.size()));
    }
    const std::string before = FileBytes(path);

    int cuts = 0;
    for (rlim_t cut = 0;; cut += kestrix::kWriteCutStep) {
        {
            CDocCache cache(fs, kestrix::SystemCompoundFiles());
            ASSERT_TRUE(cache.OpenAt(path));
            std::string text;
            for (int i = 0; i < 3000; ++i)
                text += std::to_string(i * 7919) + " ";
            ASSERT_TRUE(cache.Store(dir, "new.doc", text.data(), text.size()));
            kestrix::FileSizeLimit limit(cut);
            ASSERT_TRUE(limit.active());
            cache.Close();
        }
        if (FileBytes(path) != before)
            break;
        ++cuts;
        SCOPED_TRACE(cut);
        CDocCache cache(fs, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(cache.OpenAt(path));
        std::string text;
        ASSERT_TRUE(cache.Lookup(dir, "old.doc"));
        ASSERT_TRUE(cache.Read(text));
        EXPECT_EQ(std::string(5000, 'o'), text);
        EXPECT_FALSE(cache.Lookup(dir, "new.doc"));
    }
    EXPECT_GT(cuts, 5) << "the write was cut at too few places to test anything";
    CDocCache cache(fs, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.OpenAt(path));
    EXPECT_TRUE(cache.Lookup(dir, "old.doc"));
    EXPECT_TRUE(cache.Lookup(dir, "new.doc"));
}

} // namespace
} // namespace sorbex
#endif
