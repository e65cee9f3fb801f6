// Reading whole files into a buffer kept from file to file, as the search run does:
// sizes around the pieces the readers work in, buffers reserved ahead, and files that
// change while they are read.
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/TempTree.h"

#ifdef _WIN32
#include "platform/win32/Win32FileSystem.h"
#else
#include "platform/posix/PosixFileSystem.h"
#endif

namespace kestrix {
namespace {

#ifdef _WIN32
using SystemFileSystem = Win32FileSystem;
#else
using SystemFileSystem = PosixFileSystem;
#endif

constexpr std::size_t kChunk = 128u << 10; // the aligned chunk of POSIX reads
constexpr std::size_t kPiece = 1u << 20;   // the largest single read on Windows

// Bytes that tell every position apart across many pages, NULs and high bytes included.
std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 4093) & 0xFF);
    return bytes;
}

// How the buffer stands before the read.
enum class Before { Fresh, ReservedSmaller, HeldLonger };

const char* Name(Before before) {
    switch (before) {
    case Before::Fresh:
        return "fresh buffer";
    case Before::ReservedSmaller:
        return "buffer reserved for smaller files";
    case Before::HeldLonger:
        return "buffer that held a longer file";
    }
    return "";
}

void Prepare(FileSystem& fs, Before before, std::string& bytes) {
    bytes.clear();
    if (before == Before::ReservedSmaller)
        fs.ReserveReadBuffer(bytes, kChunk / 2);
    else if (before == Before::HeldLonger)
        bytes = Pattern(3 * kPiece);
}

// On POSIX a buffer off the alignment the system copies to fastest is filled through an
// aligned chunk; where the allocator puts a buffer decides the way, so tests take both.
// Windows reads into the buffer itself.
struct ReadWay {
    std::unique_ptr<SystemFileSystem> fs;
    bool throughChunk;
};

std::vector<ReadWay> ReadWays() {
    std::vector<ReadWay> ways;
    ways.push_back({std::make_unique<SystemFileSystem>(), false});
#ifndef _WIN32
    ways.push_back({std::make_unique<SystemFileSystem>(), true});
    ways.back().fs->ReadThroughChunkAlways();
#endif
    return ways;
}

TEST(FileReadTest, EverySizeComesOutWholeWhateverTheBuffer) {
    const std::size_t sizes[] = {0,          1,      kChunk - 1, kChunk,
                                 kChunk + 1, kPiece, kPiece + 1, 2 * kPiece + 3};
    TempTree tree;
    for (const ReadWay& way : ReadWays()) {
        SystemFileSystem& fs = *way.fs;
        for (const std::size_t size : sizes) {
            const std::string content = Pattern(size);
            tree.Write("f", content);
            for (const Before before :
                 {Before::Fresh, Before::ReservedSmaller, Before::HeldLonger}) {
                SCOPED_TRACE(std::to_string(size) + " bytes, " + Name(before) +
                             (way.throughChunk ? ", through the chunk" : ""));
                std::string bytes;
                Prepare(fs, before, bytes);
                ASSERT_FALSE(fs.ReadFile(tree.Path("f"), bytes));
                ASSERT_EQ(content.size(), bytes.size());
                EXPECT_TRUE(content == bytes);
                EXPECT_EQ('\0', bytes.c_str()[bytes.size()]);
            }
        }
    }
}

// A file is read as it stood when its size was looked up: what grows after that waits
// for the next search, and what was cut off is simply not there.
TEST(FileReadTest, AFileThatChangesBetweenSizeAndReadGivesWhatItHolds) {
    struct Change {
        const char* what;
        std::size_t size;      // when its size is looked up
        std::size_t changedTo; // when it is read
        std::size_t expected;
    };
    const Change changes[] = {
        {"grows within a piece", 100, 150, 100},
        {"grows past the chunk", kChunk, kChunk + 4096, kChunk},
        {"shrinks", kChunk + 1, 10, 10},
        {"shrinks to nothing", 5000, 0, 0},
        {"shrinks across pieces", 2 * kPiece + 3, kPiece - 1, kPiece - 1},
    };
    TempTree tree;
    for (const ReadWay& way : ReadWays()) {
        SystemFileSystem& fs = *way.fs;
        for (const Change& change : changes) {
            for (const Before before : {Before::Fresh, Before::HeldLonger}) {
                SCOPED_TRACE(std::string(change.what) + ", " + Name(before) +
                             (way.throughChunk ? ", through the chunk" : ""));
                const std::string later = Pattern(change.changedTo);
                tree.Write("f", Pattern(change.size));
                int looks = 0;
                fs.WhenSizeLooked([&](const std::string&) {
                    ++looks;
                    tree.Write("f", later);
                });
                std::string bytes;
                Prepare(fs, before, bytes);
                const OsError error = fs.ReadFile(tree.Path("f"), bytes);
                fs.WhenSizeLooked(nullptr);
                ASSERT_FALSE(error) << error.Describe();
                EXPECT_EQ(1, looks);
                ASSERT_EQ(change.expected, bytes.size());
                EXPECT_TRUE(later.compare(0, change.expected, bytes) == 0);
            }
        }
    }
}

// A failed read leaves nothing of the file read before it.
TEST(FileReadTest, AFailedReadEmptiesTheBuffer) {
    TempTree tree;
    tree.MakeDir("dir");
    SystemFileSystem fs;
    std::string bytes = Pattern(kChunk);
    EXPECT_TRUE(fs.ReadFile(tree.Path("missing"), bytes));
    EXPECT_TRUE(bytes.empty());
    bytes = Pattern(kChunk);
    EXPECT_TRUE(fs.ReadFile(tree.Path("dir"), bytes));
    EXPECT_TRUE(bytes.empty());
}

// Room reserved ahead is room: the next files up to that size fit without a new block.
TEST(FileReadTest, AReservedBufferKeepsItsBlockForSmallerFiles) {
    TempTree tree;
    SystemFileSystem fs;
    std::string bytes;
    fs.ReserveReadBuffer(bytes, 8u << 20); // large enough for large pages where there are
    ASSERT_GE(bytes.capacity(), 8u << 20);
    const char* const block = bytes.data();
    for (const std::size_t size : {kPiece + 1, std::size_t{7}, std::size_t{8u << 20}}) {
        SCOPED_TRACE(size);
        const std::string content = Pattern(size);
        tree.Write("f", content);
        ASSERT_FALSE(fs.ReadFile(tree.Path("f"), bytes));
        EXPECT_TRUE(content == bytes);
        EXPECT_EQ(block, bytes.data());
    }
}

// The read that looks the file up as it opens it gives the status GetFileStatus gives,
// refuses a longer file before reading it, and keeps nothing of a refused or failed one.
TEST(FileReadTest, ReadWithinGivesTheStatusAndHoldsTheLimit) {
    TempTree tree;
    tree.Write("a.txt", "123");
    tree.Write("long.txt", "12345");
    tree.MakeDir("dir");
    SystemFileSystem fs;
    std::string bytes = "left over from another file";
    FileSystem::ReadWithin within;
    within.limit = 4;
    ASSERT_FALSE(fs.ReadFileWithin(tree.Path("a.txt"), bytes, within));
    EXPECT_EQ("123", bytes);
    EXPECT_FALSE(within.tooLarge);
    ASSERT_TRUE(within.statusKnown);
    FileStatus looked;
    ASSERT_FALSE(fs.GetFileStatus(tree.Path("a.txt"), looked));
    EXPECT_EQ(looked.size, within.status.size);
    EXPECT_EQ(looked.lastWriteTime, within.status.lastWriteTime);
    EXPECT_EQ(looked.creationTime, within.status.creationTime);
    EXPECT_EQ(looked.attributes, within.status.attributes);
    EXPECT_FALSE(within.status.isDirectory);

    ASSERT_FALSE(fs.ReadFileWithin(tree.Path("long.txt"), bytes, within));
    EXPECT_TRUE(within.tooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(5u, within.status.size);

    // A file at the limit is read; the flag of the refused one does not stay behind.
    within.limit = 5;
    ASSERT_FALSE(fs.ReadFileWithin(tree.Path("long.txt"), bytes, within));
    EXPECT_FALSE(within.tooLarge);
    EXPECT_EQ("12345", bytes);

    EXPECT_EQ(FileFailure::NotFound,
              ClassifyFailure(fs.ReadFileWithin(tree.Path("gone.txt"), bytes, within)));
    EXPECT_TRUE(bytes.empty());
    bytes = "x";
    EXPECT_TRUE(fs.ReadFileWithin(tree.Path("dir"), bytes, within)) << "a directory is no file";
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(within.tooLarge);
}

} // namespace
} // namespace kestrix
