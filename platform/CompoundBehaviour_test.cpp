// Behaviour every compound-storage implementation must share, run against the
// in-memory one and the native files here, and against the system's own under Wine:
// the in-memory model is only trustworthy where all of them pass the same table.
#include "platform/CompoundHarness.h"
#include "platform/testing/CompoundTreeText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kestrix {

void PrintTo(const CompoundImplementation& impl, std::ostream* os) {
    *os << impl.name;
}

namespace {

using namespace StorageMode;
namespace err = StorageError;

constexpr unsigned kExclusiveRW = kReadWrite | kShareExclusive;
constexpr unsigned kNewElement = kCreate | kReadWrite | kShareExclusive;

class CompoundBehaviour : public ::testing::TestWithParam<CompoundImplementation> {
protected:
    void SetUp() override { harness_ = GetParam().make(); }

    CompoundFiles& files() { return harness_->files(); }
    std::string Path(const std::string& name) { return harness_->Path(name); }

    // A new file holding `tree` (see CompoundTestTree.h), committed and released.
    void MakeFile(const std::string& path, const std::string& tree) {
        std::unique_ptr<Storage> root;
        ASSERT_FALSE(files().Create(path, kNewElement, root));
        ASSERT_FALSE(testtree::Build(*root, tree));
        ASSERT_FALSE(root->Commit());
    }

    std::string DumpFile(const std::string& path) {
        std::unique_ptr<Storage> root;
        if (OsError e = files().Open(path, kRead | kShareDenyWrite, root))
            return "open failed: " + e.Describe();
        return testtree::Dump(*root);
    }

    std::unique_ptr<CompoundHarness> harness_;
};

TEST_P(CompoundBehaviour, CreateOpenEnumerateDestroy) {
    const std::string path = Path("basic.cfb");
    MakeFile(path, "Data=hello;Sub/Inner=abc;Sub/Deeper/;Empty=");
    EXPECT_TRUE(files().IsCompoundFile(path));
    EXPECT_EQ("Data=hello;Empty=;Sub/Deeper/;Sub/Inner=abc;", DumpFile(path));

    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files().Open(path, kExclusiveRW, root));
    std::vector<StorageElement> elements;
    ASSERT_FALSE(root->Enumerate(elements));
    ASSERT_EQ(3u, elements.size());
    for (const auto& element : elements) {
        SCOPED_TRACE(element.name);
        EXPECT_EQ(element.name == "Sub", element.isStorage);
        if (element.name == "Data") {
            EXPECT_EQ(5u, element.size);
        }
    }
    // Names compare without regard to case.
    std::unique_ptr<StorageStream> stream;
    ASSERT_FALSE(root->OpenStream("DATA", kRead | kShareExclusive, stream));
    stream.reset();
    EXPECT_FALSE(root->DestroyElement("sub"));
    EXPECT_EQ(err::kFileNotFound, root->DestroyElement("Sub").code);
    EXPECT_EQ(err::kFileNotFound,
              root->OpenStream("Nothing", kRead | kShareExclusive, stream).code);
    std::unique_ptr<Storage> storage;
    EXPECT_EQ(err::kFileNotFound, root->OpenStorage("Data", kExclusiveRW, storage).code);
    EXPECT_EQ(err::kFileAlreadyExists, root->CreateStream("Data", kExclusiveRW, stream).code);
    ASSERT_FALSE(root->Commit());
    root.reset();
    EXPECT_EQ("Data=hello;Empty=;", DumpFile(path));

    EXPECT_EQ(err::kFileNotFound, files().Open(Path("missing.cfb"), kExclusiveRW, root).code);
    EXPECT_EQ(err::kFileAlreadyExists, files().Create(path, kExclusiveRW, root).code);
    EXPECT_FALSE(files().IsCompoundFile(Path("missing.cfb")));
}

TEST_P(CompoundBehaviour, StreamReadWriteSeekSize) {
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files().Create(Path("stream.cfb"), kNewElement, root));
    std::unique_ptr<StorageStream> s;
    ASSERT_FALSE(root->CreateStream("S", kNewElement, s));
    ASSERT_FALSE(s->Write("0123456789", 10));

    struct Step {
        std::int64_t offset;
        SeekOrigin origin;
        std::uint64_t position;
        std::size_t read;
        const char* expected;
    };
    const Step steps[] = {
        {0, SeekOrigin::Begin, 0, 4, "0123"}, {2, SeekOrigin::Current, 6, 2, "67"},
        {-3, SeekOrigin::End, 7, 10, "789"},  {4, SeekOrigin::Begin, 4, 0, ""},
        {20, SeekOrigin::Begin, 20, 5, ""},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.offset);
        std::uint64_t position = 99;
        ASSERT_FALSE(s->Seek(step.offset, step.origin, &position));
        EXPECT_EQ(step.position, position);
        char buffer[16] = {};
        std::size_t got = 99;
        ASSERT_FALSE(s->Read(buffer, step.read, got));
        EXPECT_EQ(std::string(step.expected), std::string(buffer, got));
    }
    // Writing past the end grows the stream; SetSize cuts and grows it (the bytes
    // it adds are unspecified).
    ASSERT_FALSE(s->Seek(12, SeekOrigin::Begin, nullptr));
    ASSERT_FALSE(s->Write("X", 1));
    std::uint64_t size = 0;
    ASSERT_FALSE(s->Size(size));
    EXPECT_EQ(13u, size);
    ASSERT_FALSE(s->SetSize(3));
    ASSERT_FALSE(s->SetSize(5));
    ASSERT_FALSE(s->Size(size));
    EXPECT_EQ(5u, size);
    s.reset();
    ASSERT_FALSE(root->Commit());
    EXPECT_EQ("S=012", testtree::Dump(*root).substr(0, 5));

    // A stream opened for reading refuses writes; a read-only root refuses changes.
    ASSERT_FALSE(root->OpenStream("S", kRead | kShareExclusive, s));
    EXPECT_EQ(err::kAccessDenied, s->Write("x", 1).code);
    EXPECT_EQ(err::kAccessDenied, s->SetSize(0).code);
    s.reset();
    root.reset();
    ASSERT_FALSE(files().Open(Path("stream.cfb"), kRead | kShareDenyWrite, root));
    EXPECT_EQ(err::kAccessDenied, root->CreateStream("T", kNewElement, s).code);
    // Opening for more access than the parent has is an invalid flag, creating is
    // refused access.
    EXPECT_EQ(err::kInvalidFlag, root->OpenStream("S", kExclusiveRW, s).code);
    EXPECT_EQ(err::kAccessDenied, root->DestroyElement("S").code);
}

TEST_P(CompoundBehaviour, TransactedCommitAndRevert) {
    const std::string path = Path("transacted.cfb");
    MakeFile(path, "Kept=1;");
    const unsigned transacted = kTransacted | kReadWrite | kShareDenyWrite;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files().Open(path, transacted, root));
    ASSERT_FALSE(testtree::Build(*root, "A=first;"));
    ASSERT_FALSE(root->Commit());
    ASSERT_FALSE(testtree::Build(*root, "B=second;"));
    ASSERT_FALSE(root->DestroyElement("Kept"));
    ASSERT_FALSE(root->Revert());
    EXPECT_EQ("A=first;Kept=1;", testtree::Dump(*root));

    // A transacted sub-storage commits into its parent only; the file changes when
    // the root commits.
    std::unique_ptr<Storage> sub;
    ASSERT_FALSE(root->CreateStorage("Sub", kNewElement | kTransacted, sub));
    ASSERT_FALSE(testtree::Build(*sub, "X=x;"));
    EXPECT_EQ("A=first;Kept=1;Sub/;", testtree::Dump(*root, {"Sub"}));
    ASSERT_FALSE(sub->Commit());
    ASSERT_FALSE(testtree::Build(*sub, "Y=y;"));
    sub.reset(); // released without commit: Y is dropped
    EXPECT_EQ("A=first;Kept=1;Sub/X=x;", testtree::Dump(*root));
    ASSERT_FALSE(testtree::Build(*root, "Late=z;"));
    root.reset(); // released without commit: Sub and Late are dropped
    EXPECT_EQ("A=first;Kept=1;", DumpFile(path));

    // Streams opened before a revert are reverted with it.
    ASSERT_FALSE(files().Open(path, transacted, root));
    std::unique_ptr<StorageStream> stream;
    ASSERT_FALSE(root->OpenStream("A", kExclusiveRW, stream));
    ASSERT_FALSE(root->Revert());
    EXPECT_EQ(err::kReverted, stream->Write("x", 1).code);
}

TEST_P(CompoundBehaviour, CopyToNestedTreeMergesIntoTarget) {
    const std::string tree = "Top=t;A/One=1;A/B/Two=22;A/B/C/;A/Z=;";
    const std::string source = Path("source.cfb"), target = Path("target.cfb");
    MakeFile(source, tree);
    MakeFile(target, "Top=old and longer;A/Own=o;Other/;");

    std::unique_ptr<Storage> from, to;
    ASSERT_FALSE(files().Open(source, kRead | kShareDenyWrite, from));
    ASSERT_FALSE(files().Open(target, kTransacted | kReadWrite | kShareDenyWrite, to));
    ASSERT_FALSE(from->CopyTo(*to));
    ASSERT_FALSE(to->Commit());
    to.reset();
    EXPECT_EQ("A/B/C/;A/B/Two=22;A/One=1;A/Own=o;A/Z=;Other/;Top=t;", DumpFile(target));

    // Into a new file, as the cache and the result file compact themselves.
    ASSERT_FALSE(files().Create(Path("copy.cfb"), kNewElement, to));
    ASSERT_FALSE(from->CopyTo(*to));
    ASSERT_FALSE(to->Commit());
    to.reset();
    EXPECT_EQ(DumpFile(source), DumpFile(Path("copy.cfb")));
}

TEST_P(CompoundBehaviour, SecondOpenOfAnExclusiveElementIsRefused) {
    const std::string path = Path("shared.cfb");
    MakeFile(path, "S=1;Sub/T=2;");
    std::unique_ptr<Storage> root, again;
    ASSERT_FALSE(files().Open(path, kExclusiveRW, root));
    if (harness_->SharesWithinProcess()) {
        EXPECT_EQ(err::kShareViolation,
                  files().Open(path, kTransacted | kRead | kShareDenyNone, again).code);
        EXPECT_EQ(err::kShareViolation, files().Create(path, kNewElement, again).code);
    }

    std::unique_ptr<StorageStream> stream, stream2;
    std::unique_ptr<Storage> sub, sub2;
    ASSERT_FALSE(root->OpenStream("S", kExclusiveRW, stream));
    EXPECT_EQ(err::kAccessDenied, root->OpenStream("s", kExclusiveRW, stream2).code);
    ASSERT_FALSE(root->OpenStorage("Sub", kExclusiveRW, sub));
    EXPECT_EQ(err::kAccessDenied, root->OpenStorage("Sub", kExclusiveRW, sub2).code);
    // Elements inside a file are only ever opened exclusively.
    stream.reset();
    EXPECT_EQ(err::kInvalidFlag, root->OpenStream("S", kReadWrite | kShareDenyNone, stream).code);
    EXPECT_FALSE(root->OpenStream("S", kExclusiveRW, stream));
    root.reset();
    sub.reset();
    stream.reset();

    // A direct open that reads must deny writing, one that writes must be exclusive.
    EXPECT_EQ(err::kInvalidFlag, files().Open(path, kRead | kShareDenyNone, root).code);
    EXPECT_EQ(err::kInvalidFlag, files().Open(path, kReadWrite | kShareDenyWrite, root).code);
    // Readers that deny writing share the file; a writer is kept out.
    ASSERT_FALSE(files().Open(path, kRead | kShareDenyWrite, root));
    if (harness_->SharesWithinProcess()) {
        ASSERT_FALSE(files().Open(path, kRead | kShareDenyWrite, again));
        EXPECT_EQ(err::kShareViolation,
                  files().Open(path, kTransacted | kReadWrite | kShareDenyWrite, sub).code);
    }
}

TEST_P(CompoundBehaviour, TemporaryFileLivesUntilReleased) {
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(
        files().Create("", kDeleteOnRelease | kCreate | kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(testtree::Build(*root, "P0=page;EMPTY=;"));
    ASSERT_FALSE(root->Commit());
    EXPECT_EQ("EMPTY=;P0=page;", testtree::Dump(*root));

    // Saving it as a named file copies the whole tree.
    std::unique_ptr<Storage> saved;
    ASSERT_FALSE(files().Create(Path("saved.cfb"),
                                kTransacted | kCreate | kReadWrite | kShareDenyWrite, saved));
    ASSERT_FALSE(root->CopyTo(*saved));
    ASSERT_FALSE(saved->Commit());
    saved.reset();
    root.reset();
    EXPECT_EQ("EMPTY=;P0=page;", DumpFile(Path("saved.cfb")));
}

TEST_P(CompoundBehaviour, LargeTemporaryStreamSurvivesASave) {
    // A few megabytes, written at once as a result page is: more sectors than one block
    // of the allocation table lists, so the table and the file both grow on the way.
    std::vector<char> bytes(3 * 1024 * 1024 + 77);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131u) >> 3);
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(
        files().Create("", kDeleteOnRelease | kCreate | kReadWrite | kShareExclusive, root));
    std::unique_ptr<StorageStream> s;
    ASSERT_FALSE(root->CreateStream("P0", kNewElement, s));
    ASSERT_FALSE(s->Write(bytes.data(), bytes.size()));
    s.reset();
    ASSERT_FALSE(root->Commit());

    std::unique_ptr<Storage> saved;
    ASSERT_FALSE(files().Create(Path("large.cfb"),
                                kTransacted | kCreate | kReadWrite | kShareDenyWrite, saved));
    ASSERT_FALSE(root->CopyTo(*saved));
    ASSERT_FALSE(saved->Commit());
    saved.reset();
    root.reset();

    ASSERT_FALSE(files().Open(Path("large.cfb"), kRead | kShareDenyWrite, root));
    ASSERT_FALSE(root->OpenStream("P0", kRead | kShareExclusive, s));
    std::vector<char> back(bytes.size() + 1);
    std::size_t got = 0;
    ASSERT_FALSE(s->Read(back.data(), back.size(), got));
    ASSERT_EQ(bytes.size(), got);
    back.resize(got);
    EXPECT_TRUE(back == bytes) << "the saved stream differs from the one written";
}

TEST_P(CompoundBehaviour, ConvertOpensAPlainFileAsAnEmptyStorage) {
    const std::string path = Path("plain.sbx");
    harness_->PutPlainFile(path, "not a compound file at all, just some text\r\n");
    EXPECT_FALSE(files().IsCompoundFile(path));
    std::unique_ptr<Storage> root;
    EXPECT_EQ(err::kFileAlreadyExists,
              files().Open(path, kTransacted | kReadWrite | kShareDenyWrite, root).code);

    ASSERT_FALSE(files().Open(path, kConvert | kTransacted | kReadWrite | kShareDenyWrite, root));
    EXPECT_EQ("", testtree::Dump(*root));
    ASSERT_FALSE(testtree::Build(*root, "Index=i;"));
    ASSERT_FALSE(root->Commit());
    root.reset();
    EXPECT_TRUE(files().IsCompoundFile(path));
    EXPECT_EQ("Index=i;", DumpFile(path));
}

TEST_P(CompoundBehaviour, NamesLongerThan31CharactersAreRefused) {
    std::unique_ptr<Storage> root, sub;
    ASSERT_FALSE(files().Create(Path("names.cfb"), kNewElement, root));
    std::unique_ptr<StorageStream> stream;
    const std::string longest(31, 'n');
    const std::string tooLong(32, 'n');
    EXPECT_FALSE(root->CreateStream(longest, kNewElement, stream));
    stream.reset();
    EXPECT_EQ(err::kInvalidName, root->CreateStream(tooLong, kNewElement, stream).code);
    EXPECT_EQ(err::kInvalidName, root->CreateStorage(tooLong, kNewElement, sub).code);
    ASSERT_FALSE(root->Commit());
    EXPECT_EQ(longest + "=;", testtree::Dump(*root));
}

INSTANTIATE_TEST_SUITE_P(Compound, CompoundBehaviour,
                         ::testing::ValuesIn(CompoundImplementations()),
                         [](const ::testing::TestParamInfo<CompoundImplementation>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace kestrix
