// Tests of the converted-document cache on real compound files in scratch directories.
#include "cache/DocCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "storage/StorageUiRecorder.h"
#include "storage/StreamIo.h"

namespace sorbex {
namespace {

using kestrix::StorageMode::kRead;
using kestrix::StorageMode::kShareExclusive;

class DocCacheTest : public ::testing::Test {
protected:
    DocCacheTest() : system_(kestrix::MakeSystemFileSystem()), fs_(*system_) {
        tree_.MakeDir("a");
        tree_.MakeDir("b");
        tree_.MakeDir("cache");
        cachePath_ = tree_.Path("cache/sbxCache.tmp");
        fs_.cacheDirectories = {tree_.Path("cache/")};
    }

    std::string Dir(const char* d) { return tree_.Path(d) + kestrix::kPathSeparator; }

    // The entries of one sub-storage, read with the cache closed.
    CacheIndex IndexOf(const std::string& name) {
        CacheIndex index;
        std::unique_ptr<kestrix::Storage> root, sub;
        std::unique_ptr<kestrix::StorageStream> stream;
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(
            kestrix::SystemCompoundFiles().Open(cachePath_, kRead | kShareExclusive, root));
        if (!root)
            return index;
        EXPECT_FALSE(
            root->OpenStorage(std::to_string(CacheNameHash(name)), kRead | kShareExclusive, sub));
        if (!sub)
            return index;
        EXPECT_FALSE(sub->OpenStream("Index", kRead | kShareExclusive, stream));
        if (stream && !ReadWholeStream(*stream, bytes)) {
            EXPECT_TRUE(ReadCacheIndex(bytes.data(), bytes.size(), index));
        }
        return index;
    }

    std::vector<std::string> RootElements() {
        std::vector<std::string> names;
        std::unique_ptr<kestrix::Storage> root;
        std::vector<kestrix::StorageElement> elements;
        if (kestrix::SystemCompoundFiles().Open(cachePath_, kRead | kShareExclusive, root) ||
            root->Enumerate(elements))
            return names;
        for (const auto& e : elements)
            names.push_back(e.name);
        return names;
    }

    bool StoreText(CDocCache& cache, const char* dir, const char* name, const std::string& text) {
        return cache.Store(Dir(dir), name, text.data(), text.size());
    }

    std::string Cached(CDocCache& cache, const char* dir, const char* name) {
        std::string text;
        if (!cache.Lookup(Dir(dir), name) || !cache.Read(text))
            return "<miss>";
        return text;
    }

    kestrix::TempTree tree_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    std::string cachePath_;
};

TEST_F(DocCacheTest, SameNameInTwoDirectoriesGetsTwoEntriesInOneSubStorage) {
    tree_.Write("a/report.doc", "first source");
    tree_.Write("b/REPORT.doc", "second source, longer");
    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    EXPECT_EQ(cachePath_, cache.path());
    EXPECT_EQ("<miss>", Cached(cache, "a", "report.doc"));
    const std::string big(100000, 'x'); // compresses well: stored packed
    ASSERT_TRUE(StoreText(cache, "a", "report.doc", "text of a"));
    ASSERT_TRUE(StoreText(cache, "b", "REPORT.doc", big));
    EXPECT_EQ("text of a", Cached(cache, "a", "report.doc"));
    EXPECT_TRUE(big == Cached(cache, "b", "REPORT.doc"));
    cache.Close();

    const CacheIndex index = IndexOf("report.doc");
    ASSERT_EQ(2u, index.entries.size());
    EXPECT_EQ(0u, index.entries[0].id);
    EXPECT_EQ(1u, index.entries[1].id);
    EXPECT_EQ(2u, index.nextId);
    EXPECT_EQ(Dir("b"), index.entries[1].directory);
    EXPECT_EQ(21u, index.entries[1].size);
    EXPECT_EQ(1u, RootElements().size()) << "both names hash alike";

    CDocCache again(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(again.Open());
    EXPECT_TRUE(big == Cached(again, "b", "REPORT.doc")) << "the cache outlives the program run";
}

TEST_F(DocCacheTest, AChangedFileMissesAndItsNextStoreReusesTheId) {
    tree_.Write("a/x.doc", "v1");
    tree_.Write("a/y.doc", "other");
    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    ASSERT_TRUE(StoreText(cache, "a", "x.doc", "old text"));
    EXPECT_EQ("old text", Cached(cache, "a", "x.doc"));
    tree_.Write("a/x.doc", "v2 is longer"); // new size and last-write time
    EXPECT_EQ("<miss>", Cached(cache, "a", "x.doc"));
    ASSERT_TRUE(StoreText(cache, "a", "x.doc", "new text"));
    EXPECT_EQ("new text", Cached(cache, "a", "x.doc"));
    EXPECT_EQ("<miss>", Cached(cache, "a", "y.doc")) << "never stored";
    EXPECT_FALSE(StoreText(cache, "a", "gone.doc", "t")) << "a missing file is not stored";
    cache.Close();
    const CacheIndex index = IndexOf("x.doc");
    ASSERT_EQ(1u, index.entries.size());
    EXPECT_EQ(0u, index.entries[0].id);
    EXPECT_EQ(1u, index.nextId);
}

TEST_F(DocCacheTest, ANegativeEntryIsAnEmptyStream) {
    tree_.Write("a/empty.doc", "converters make nothing of this");
    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    ASSERT_TRUE(cache.Store(Dir("a"), "empty.doc", nullptr, 0));
    bool negative = false;
    ASSERT_TRUE(cache.Lookup(Dir("a"), "empty.doc", negative));
    EXPECT_TRUE(negative);
    EXPECT_EQ(0u, cache.EntrySize());
    tree_.Write("a/empty.doc", "changed");
    EXPECT_FALSE(cache.Lookup(Dir("a"), "empty.doc", negative)) << "until the file changes";
}

TEST_F(DocCacheTest, ASecondInstanceAndAnUnusablePlaceRunWithoutACache) {
    CDocCache first(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(first.Open());
    CDocCache second(fs_, kestrix::SystemCompoundFiles());
    EXPECT_FALSE(second.Open());
    EXPECT_FALSE(second.IsOpen());
    tree_.Write("a/x.doc", "x");
    EXPECT_FALSE(second.Store(Dir("a"), "x.doc", "t", 1));
    EXPECT_FALSE(second.Lookup(Dir("a"), "x.doc"));
    first.Close();

    // The first place fails (a directory is in the way), the second one is used.
    tree_.MakeDir("blocked/sbxCache.tmp");
    fs_.cacheDirectories = {tree_.Path("blocked/"), tree_.Path("cache/")};
    CDocCache fallback(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(fallback.Open());
    EXPECT_EQ(cachePath_, fallback.path());
}

TEST_F(DocCacheTest, DamagedIndexesMissAndTheNextStoreStartsAnew) {
    tree_.Write("a/x.doc", "x");
    struct Case {
        const char* what;
        std::vector<std::uint8_t> index;
    };
    std::vector<std::uint8_t> hugeCount = {0, 0, 0, 0, 5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
    std::vector<std::uint8_t> otherVersion = {7, 0, 0, 0, 5, 0, 0, 0, 1, 0, 0, 0};
    std::vector<std::uint8_t> shortHeader = {0, 0, 0, 0, 5};
    const Case cases[] = {
        {"count far beyond the stream", hugeCount},
        {"another version", otherVersion},
        {"header cut short", shortHeader},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            CDocCache cache(fs_, kestrix::SystemCompoundFiles());
            ASSERT_TRUE(cache.Open());
            ASSERT_TRUE(StoreText(cache, "a", "x.doc", "cached"));
        }
        {
            std::unique_ptr<kestrix::Storage> root, sub;
            std::unique_ptr<kestrix::StorageStream> stream;
            const unsigned rw = kestrix::StorageMode::kReadWrite | kShareExclusive;
            ASSERT_FALSE(kestrix::SystemCompoundFiles().Open(cachePath_, rw, root));
            ASSERT_FALSE(root->OpenStorage(std::to_string(CacheNameHash("x.doc")), rw, sub));
            ASSERT_FALSE(sub->CreateStream("Index", rw | kestrix::StorageMode::kCreate, stream));
            ASSERT_FALSE(WriteWholeStream(*stream, c.index.data(), c.index.size()));
            stream.reset();
            sub->Commit();
            sub.reset();
            ASSERT_FALSE(root->Commit());
        }
        CDocCache cache(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(cache.Open());
        EXPECT_EQ("<miss>", Cached(cache, "a", "x.doc"));
        ASSERT_TRUE(StoreText(cache, "a", "x.doc", "again"));
        EXPECT_EQ("again", Cached(cache, "a", "x.doc"));
    }
}

TEST_F(DocCacheTest, RemoveObsoleteDropsGoneEntriesAndEmptySubStoragesAndShrinks) {
    const std::string text(20000, 'q');
    std::string noise;
    for (int i = 0; i < 30000; ++i)
        noise += static_cast<char>('a' + (i * 7919) % 26); // compresses badly: takes room
    tree_.Write("a/keep.doc", "k");
    tree_.Write("a/gone.doc", "g");
    tree_.Write("b/gone.doc", "g");
    tree_.Write("a/changed.doc", "c");
    {
        CDocCache cache(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(cache.Open());
        ASSERT_TRUE(StoreText(cache, "a", "keep.doc", text));
        ASSERT_TRUE(StoreText(cache, "a", "gone.doc", noise));
        ASSERT_TRUE(StoreText(cache, "b", "gone.doc", noise));
        ASSERT_TRUE(StoreText(cache, "a", "changed.doc", noise));
    }
    ASSERT_EQ(3u, RootElements().size());
    const std::uint64_t before = tree_.Read("cache/sbxCache.tmp").size();
    tree_.Write("a/changed.doc", "changed since");
    ASSERT_FALSE(system_->RemoveFile(tree_.Path("a/gone.doc")));
    ASSERT_FALSE(system_->RemoveFile(tree_.Path("b/gone.doc")));

    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    CStorageUiRecorder ui;
    ASSERT_TRUE(cache.RemoveObsolete(ui));
    EXPECT_EQ((std::vector<std::string>{"progress 3 Reorganizing the cache.", "progress end"}),
              ui.events);
    EXPECT_EQ(3, ui.steps);
    EXPECT_EQ(0, ui.waitDepth);
    EXPECT_TRUE(cache.IsOpen());
    EXPECT_EQ(text, Cached(cache, "a", "keep.doc"));
    cache.Close();
    EXPECT_EQ(std::vector<std::string>{std::to_string(CacheNameHash("keep.doc"))}, RootElements());
    EXPECT_LT(tree_.Read("cache/sbxCache.tmp").size(), before);
    EXPECT_TRUE(tree_.Read("cache/cach~~14.tmp").empty()) << "the compaction file is gone";
}

TEST_F(DocCacheTest, RemoveObsoleteWithoutRoomKeepsAWorkingCache) {
    tree_.Write("a/keep.doc", "k");
    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    ASSERT_TRUE(StoreText(cache, "a", "keep.doc", "kept"));
    fs_.limitFreeSpace = true;
    fs_.freeSpace = 100;
    CStorageUiRecorder ui;
    EXPECT_FALSE(cache.RemoveObsolete(ui));
    EXPECT_EQ((std::vector<std::string>{
                  "progress 1 Reorganizing the cache.",
                  "error There is not enough free space on your disk to reorganize the cache.",
                  "progress end", "error An error occured while reorganizing the cache."}),
              ui.events);
    EXPECT_EQ(0, ui.waitDepth);
    EXPECT_EQ("kept", Cached(cache, "a", "keep.doc"));
}

TEST_F(DocCacheTest, DeleteCacheAsksAndStartsEmpty) {
    tree_.Write("a/x.doc", "x");
    CDocCache cache(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(cache.Open());
    ASSERT_TRUE(StoreText(cache, "a", "x.doc", "cached"));
    CStorageUiRecorder ui;
    ui.answer = false;
    EXPECT_FALSE(cache.DeleteCache(ui));
    EXPECT_EQ("cached", Cached(cache, "a", "x.doc"));
    ui.answer = true;
    EXPECT_TRUE(cache.DeleteCache(ui));
    EXPECT_EQ((std::vector<std::string>{"ask Do you really want to delete the cache?",
                                        "ask Do you really want to delete the cache?"}),
              ui.events);
    EXPECT_EQ("<miss>", Cached(cache, "a", "x.doc"));
    EXPECT_TRUE(StoreText(cache, "a", "x.doc", "rebuilt"));
    EXPECT_EQ("rebuilt", Cached(cache, "a", "x.doc"));
}

} // namespace
} // namespace sorbex
