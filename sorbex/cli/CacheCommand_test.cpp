// Tests of `sorbex cache compact` and `sorbex cache delete` on a cache in a scratch tree.
#include "cli/CacheCommand.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/SearchCommand.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "cache/DocCache.h"

namespace sorbex {
namespace {

class CacheCommandTest : public ::testing::Test {
protected:
    CacheCommandTest() : system_(kestrix::MakeSystemFileSystem()), fs_(*system_) {
        tree_.MakeDir("cache");
        tree_.MakeDir("docs");
        fs_.cacheDirectories = {tree_.Path("cache/")};
        terminal_.answers = &answers_;
    }

    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        CliOptions options;
        EXPECT_EQ("", ParseCliArguments(args, options));
        return RunCacheCommand(options, out_, err_, terminal_, fs_, kestrix::SystemCompoundFiles());
    }

    // Stores texts for two files, then removes one of them.
    void FillCache() {
        tree_.Write("docs/kept.doc", "kept");
        tree_.Write("docs/gone.doc", "gone");
        CDocCache cache(fs_, kestrix::SystemCompoundFiles());
        ASSERT_TRUE(cache.Open());
        const std::string dir = tree_.Path("docs/");
        const std::string big(200000, 'g');
        ASSERT_TRUE(cache.Store(dir, "kept.doc", "kept text", 9));
        ASSERT_TRUE(cache.Store(dir, "gone.doc", big.data(), big.size()));
        cache.Close();
        ASSERT_FALSE(fs_.RemoveFile(tree_.Path("docs/gone.doc")));
    }

    std::string Cached(const char* name) {
        CDocCache cache(fs_, kestrix::SystemCompoundFiles());
        std::string text;
        if (!cache.Open() || !cache.Lookup(tree_.Path("docs/"), name) || !cache.Read(text))
            return "<miss>";
        return text;
    }

    kestrix::TempTree tree_;
    std::unique_ptr<kestrix::FileSystem> system_;
    kestrix::FaultyFileSystem fs_;
    std::istringstream answers_;
    CCliTerminal terminal_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(CacheCommandTest, ArgumentsOfTheCacheCommands) {
    CliOptions options;
    EXPECT_EQ("", ParseCliArguments({"cache", "delete", "--yes"}, options));
    EXPECT_EQ("delete", options.cacheCommand);
    EXPECT_TRUE(options.yes);
    EXPECT_EQ("no cache command given (compact or delete)", ParseCliArguments({"cache"}, options));
    EXPECT_EQ("unknown cache command 'clear' (compact or delete)",
              ParseCliArguments({"cache", "clear"}, options));
    EXPECT_EQ("option '--yes' belongs to 'cache delete'",
              ParseCliArguments({"cache", "compact", "--yes"}, options));
}

TEST_F(CacheCommandTest, CompactDropsTheTextsOfGoneFiles) {
    FillCache();
    const std::size_t before = tree_.Read("cache/sbxCache.tmp").size();
    EXPECT_EQ(kExitFound, Run({"cache", "compact"}));
    EXPECT_NE(std::string::npos, out_.str().find("bytes after reorganizing")) << out_.str();
    EXPECT_NE(std::string::npos, err_.str().find("Reorganizing the cache."));
    EXPECT_LT(tree_.Read("cache/sbxCache.tmp").size(), before);
    EXPECT_EQ("kept text", Cached("kept.doc"));
}

TEST_F(CacheCommandTest, DeleteAsksOrNeedsYes) {
    FillCache();
    EXPECT_EQ(kExitError, Run({"cache", "delete"})) << "nobody to ask";
    EXPECT_NE(std::string::npos, err_.str().find("give --yes"));
    EXPECT_EQ("kept text", Cached("kept.doc"));

    terminal_.answersInteractive = true;
    answers_.str("n\n");
    EXPECT_EQ(kExitNothingFound, Run({"cache", "delete"}));
    EXPECT_EQ("Do you really want to delete the cache? [y/N] ", err_.str());
    EXPECT_EQ("kept text", Cached("kept.doc"));

    answers_.clear();
    answers_.str("y\n");
    EXPECT_EQ(kExitFound, Run({"cache", "delete"}));
    EXPECT_NE(std::string::npos, out_.str().find(": deleted"));
    EXPECT_EQ("<miss>", Cached("kept.doc"));
    terminal_.answersInteractive = false;
    EXPECT_EQ(kExitFound, Run({"cache", "delete", "--yes"}));
}

TEST_F(CacheCommandTest, ACacheInUseIsReported) {
    FillCache();
    CDocCache holder(fs_, kestrix::SystemCompoundFiles());
    ASSERT_TRUE(holder.Open());
    EXPECT_EQ(kExitError, Run({"cache", "compact"}));
    EXPECT_NE(std::string::npos, err_.str().find("could not be opened"));
}

} // namespace
} // namespace sorbex
