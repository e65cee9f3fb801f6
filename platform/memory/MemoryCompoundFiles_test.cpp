// The harness that runs the shared compound-storage table against the in-memory
// files, and what only they have: temporaries vanish and nothing reaches a disk.
#include "platform/CompoundHarness.h"
#include "platform/memory/MemoryCompoundFiles.h"
#include "platform/testing/CompoundTreeText.h"

#include <gtest/gtest.h>

namespace kestrix {

namespace {
class MemoryHarness : public CompoundHarness {
public:
    CompoundFiles& files() override { return files_; }
    std::string Path(const std::string& name) override { return "C:\\mem\\" + name; }
    void PutPlainFile(const std::string& path, const std::string& bytes) override {
        files_.PutPlainFile(path, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    }
    bool Exists(const std::string& path) override { return files_.Exists(path); }

private:
    MemoryCompoundFiles files_;
};
} // namespace

std::unique_ptr<CompoundHarness> MakeMemoryCompoundHarness() {
    return std::make_unique<MemoryHarness>();
}

namespace {

using namespace StorageMode;

TEST(MemoryCompoundFiles, TemporariesDisappearWhenReleasedAndFilesOutliveTheirOwner) {
    std::unique_ptr<Storage> kept;
    {
        MemoryCompoundFiles files;
        std::unique_ptr<Storage> temporary;
        ASSERT_FALSE(
            files.Create("", kDeleteOnRelease | kCreate | kReadWrite | kShareExclusive, temporary));
        ASSERT_FALSE(files.Create("a.cfb", kCreate | kReadWrite | kShareExclusive, kept));
        EXPECT_EQ(2u, files.Paths().size());
        temporary.reset();
        EXPECT_EQ(std::vector<std::string>{"a.cfb"}, files.Paths());
    }
    // The root stays usable after the files object is gone.
    EXPECT_FALSE(testtree::Build(*kept, "S=1;"));
    EXPECT_FALSE(kept->Commit());
}

TEST(MemoryCompoundFiles, ReleasingAParentBeforeItsStreamRevertsTheStream) {
    MemoryCompoundFiles files;
    std::unique_ptr<Storage> root, sub;
    ASSERT_FALSE(files.Create("a.cfb", kCreate | kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(root->CreateStorage("Sub", kCreate | kReadWrite | kShareExclusive, sub));
    std::unique_ptr<StorageStream> stream;
    ASSERT_FALSE(sub->CreateStream("S", kCreate | kReadWrite | kShareExclusive, stream));
    sub.reset();
    EXPECT_EQ(StorageError::kReverted, stream->Write("x", 1).code);
}

// Stricter than some systems, which let a replacing create or a destroy pull the
// stream from under its user: code that passes here closes a stream first.
TEST(MemoryCompoundFiles, ReplacingOrDestroyingAnOpenStreamIsRefused) {
    MemoryCompoundFiles files;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files.Create("a.cfb", kCreate | kReadWrite | kShareExclusive, root));
    std::unique_ptr<StorageStream> stream, again;
    ASSERT_FALSE(root->CreateStream("S", kCreate | kReadWrite | kShareExclusive, stream));
    EXPECT_EQ(StorageError::kAccessDenied,
              root->CreateStream("S", kCreate | kReadWrite | kShareExclusive, again).code);
    EXPECT_EQ(StorageError::kAccessDenied, root->DestroyElement("S").code);
}

} // namespace
} // namespace kestrix
