// Tests of loading a file's text: the plain path, skipped files, cancellation, sources.
#include "text/FileTextLoader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "text/TextOrigin.h"

namespace sorbex {
namespace {

using kestrix::FileFailure;

class RecordingSink : public CTextSink {
public:
    struct Call {
        std::string text;
        bool zeroAfter;
        int flags;
    };
    std::vector<Call> calls;
    int pumps = 0;
    bool cancelAfterPump = false;
    bool cancelled = false;

    void ProcessMessages() override {
        ++pumps;
        if (cancelAfterPump)
            cancelled = true;
    }
    bool CancelRequested() const override { return cancelled; }
    void SearchText(const char* text, std::size_t length, int originFlags) override {
        calls.push_back({std::string(text, length), text[length] == '\0', originFlags});
    }
};

class FixedSource : public CTextSource {
public:
    FixedSource(std::string text, int flags, bool declineInReplaceMode)
        : text_(std::move(text)), flags_(flags), declineInReplaceMode_(declineInReplaceMode) {}
    std::vector<std::string> asked;

    bool LoadText(const std::string& path, const CTextLoadOptions& options, std::string& text,
                  int& originFlags) override {
        asked.push_back(path);
        if (declineInReplaceMode_ && options.replaceMode)
            return false;
        text = text_;
        originFlags = flags_;
        return true;
    }

private:
    std::string text_;
    int flags_;
    bool declineInReplaceMode_;
};

class FileTextLoaderTest : public ::testing::Test {
protected:
    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CFileTextLoader loader{fs};
    RecordingSink sink;
};

TEST_F(FileTextLoaderTest, PlainFileIsCleanedAndHandedWithoutOriginFlags) {
    tree.Write("a.txt", std::string("one\ttwo\r\nthree\0four\rfive", 24));
    const CTextLoadResult result = loader.LoadFileText(tree.root(), "a.txt", {}, &sink);
    EXPECT_EQ(CTextLoadOutcome::Handed, result.outcome);
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ("one two\n\nthree four\nfive", sink.calls[0].text);
    EXPECT_TRUE(sink.calls[0].zeroAfter);
    EXPECT_EQ(0, sink.calls[0].flags);
    EXPECT_EQ(1, sink.pumps);
}

TEST_F(FileTextLoaderTest, EmptyFileIsHandedWithLengthZero) {
    tree.Write("empty.txt", "");
    EXPECT_EQ(CTextLoadOutcome::Handed,
              loader.LoadFileText(tree.root(), "empty.txt", {}, &sink).outcome);
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ("", sink.calls[0].text);
    EXPECT_TRUE(sink.calls[0].zeroAfter);
}

TEST_F(FileTextLoaderTest, UnreadableFilesAreSkippedSilently) {
    tree.Write("locked.txt", "text");
    tree.Write("denied.txt", "text");
    fs.failRead[tree.Path("locked.txt")] = FileFailure::Locked;
    fs.failRead[tree.Path("denied.txt")] = FileFailure::AccessDenied;
    struct Case {
        const char* name;
        FileFailure failure;
    };
    const Case cases[] = {
        {"missing.txt", FileFailure::NotFound},
        {"locked.txt", FileFailure::Locked},
        {"denied.txt", FileFailure::AccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CTextLoadResult result = loader.LoadFileText(tree.root(), c.name, {}, &sink);
        EXPECT_EQ(CTextLoadOutcome::Skipped, result.outcome);
        EXPECT_EQ(c.failure, kestrix::ClassifyFailure(result.error));
        EXPECT_EQ(tree.Path(c.name), result.error.path);
    }
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(FileTextLoaderTest, CancelWhileWaitingStopsBeforeReading) {
    tree.Write("a.txt", "text");
    sink.cancelAfterPump = true;
    EXPECT_EQ(CTextLoadOutcome::Cancelled,
              loader.LoadFileText(tree.root(), "a.txt", {}, &sink).outcome);
    EXPECT_EQ(0, fs.readCalls);
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(FileTextLoaderTest, WithoutSearcherNothingIsRead) {
    tree.Write("a.txt", "text");
    EXPECT_EQ(CTextLoadOutcome::Skipped,
              loader.LoadFileText(tree.root(), "a.txt", {}, nullptr).outcome);
    EXPECT_EQ(0, fs.readCalls);
}

TEST_F(FileTextLoaderTest, SourcesComeFirstAndTheirTextIsCleanedToo) {
    tree.Write("doc.rtf", "raw bytes");
    FixedSource converter("con\tverted\r", kTextConverted | kTextExternal, true);
    loader.AddSource(&converter);

    loader.LoadFileText(tree.root(), "doc.rtf", {}, &sink);
    CTextLoadOptions replacing;
    replacing.replaceMode = true;
    loader.LoadFileText(tree.root(), "doc.rtf", replacing, &sink);

    ASSERT_EQ(2u, sink.calls.size());
    EXPECT_EQ("con verted\n", sink.calls[0].text);
    EXPECT_EQ(kTextConverted | kTextExternal, sink.calls[0].flags);
    EXPECT_EQ(1, fs.readCalls) << "only the declined file is read raw";
    EXPECT_EQ("raw bytes", sink.calls[1].text);
    EXPECT_EQ(0, sink.calls[1].flags);
    EXPECT_EQ(std::vector<std::string>(2, tree.Path("doc.rtf")), converter.asked);
}

} // namespace
} // namespace sorbex
