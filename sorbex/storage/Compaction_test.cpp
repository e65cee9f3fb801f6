// Tests of compaction: where each failure leaves the original, the copy and the caller.
#include "storage/Compaction.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "storage/StreamIo.h"

namespace sorbex {
namespace {

namespace Mode = kestrix::StorageMode;
using kestrix::FileFailure;

constexpr unsigned kRootMode = Mode::kReadWrite | Mode::kShareExclusive;

TEST(CompactionTest, EachFailureLeavesTheDataWhereTheCallerLooksForIt) {
    enum Fault { kNone, kNoFolder, kRemove, kRename };
    struct Case {
        const char* name;
        Fault fault;
        CompactResult result;
        bool released;
        bool atPath; // the data opens at the original's path
        bool atTemp; // the copy is still at the temporary path
    };
    const Case cases[] = {
        {"success", kNone, CompactResult::kReplaced, true, true, false},
        {"copy cannot be created", kNoFolder, CompactResult::kCopyFailed, false, true, false},
        {"original cannot be removed", kRemove, CompactResult::kReplaceFailed, true, true, true},
        {"copy cannot be renamed", kRename, CompactResult::kReplaceFailed, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kestrix::TempTree tree;
        std::unique_ptr<kestrix::FileSystem> system = kestrix::MakeSystemFileSystem();
        kestrix::FaultyFileSystem fs(*system);
        kestrix::CompoundFiles& files = kestrix::SystemCompoundFiles();
        const std::string path = tree.Path("doc.sbx");
        const std::string temp = tree.Path(c.fault == kNoFolder ? "missing/copy.tmp" : "copy.tmp");
        if (c.fault == kRemove)
            fs.failRemove[path] = FileFailure::Locked;
        if (c.fault == kRename)
            fs.failRename[temp] = FileFailure::AccessDenied;

        std::unique_ptr<kestrix::Storage> root;
        std::unique_ptr<kestrix::StorageStream> stream;
        ASSERT_FALSE(files.Create(path, Mode::kCreate | kRootMode, root));
        ASSERT_FALSE(root->CreateStream("Kept", Mode::kCreate | kRootMode, stream));
        ASSERT_FALSE(WriteWholeStream(*stream, "kept", 4));
        stream.reset();

        bool released = false;
        EXPECT_EQ(c.result, CompactCompoundFile(fs, files, *root, path, temp, [&] {
                      released = true;
                      root.reset();
                  }));
        EXPECT_EQ(c.released, released);
        root.reset();
        EXPECT_EQ(c.atPath, files.IsCompoundFile(path));
        EXPECT_EQ(c.atTemp, files.IsCompoundFile(temp));
        const std::string& holder = c.atPath ? path : temp;
        std::vector<std::uint8_t> bytes;
        ASSERT_FALSE(files.Open(holder, kRootMode, root));
        ASSERT_FALSE(root->OpenStream("Kept", kRootMode, stream));
        ASSERT_FALSE(ReadWholeStream(*stream, bytes));
        EXPECT_EQ("kept", std::string(bytes.begin(), bytes.end()));
    }
}

} // namespace
} // namespace sorbex
