// Tests of the system's file-system implementation against real scratch directories.
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/TempTree.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/AnsiText.h"
#else
#include "platform/posix/PosixFileSystem.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kestrix {
namespace {

std::map<std::string, DirEntry> ListAll(FileSystem& fs, const std::string& dir,
                                        EntryDetail detail = EntryDetail::SizeAndTime) {
    std::map<std::string, DirEntry> entries;
    const OsError error = fs.ListDirectory(dir, detail, [&](const DirEntry& e) {
        entries[e.name] = e;
        return true;
    });
    EXPECT_FALSE(error) << error.Describe();
    return entries;
}

std::set<std::string> NamesIn(FileSystem& fs, const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : ListAll(fs, dir))
        names.insert(entry.first);
    return names;
}

TEST(FileSystemTest, ListsFilesAndDirectoriesWithSizes) {
    TempTree tree;
    tree.Write("a.txt", "12345");
    tree.Write("empty", "");
    tree.MakeDir("sub");
    tree.Write("sub/inner.txt", "x");
    auto fs = MakeSystemFileSystem();

    const auto entries = ListAll(*fs, tree.root());
    ASSERT_EQ(3u, entries.size());
    EXPECT_FALSE(entries.at("a.txt").isDirectory);
    EXPECT_EQ(5u, entries.at("a.txt").size);
    EXPECT_GT(entries.at("a.txt").modified, 1000000000);
    EXPECT_EQ(0u, entries.at("empty").size);
    EXPECT_TRUE(entries.at("sub").isDirectory);
    EXPECT_FALSE(entries.at("sub").isLink);
    for (const auto& entry : entries)
        EXPECT_TRUE(entry.second.statusKnown) << entry.first;
    // Asked for types only, the same entries come; a size given must be the true one.
    const auto typed = ListAll(*fs, tree.root(), EntryDetail::TypesOnly);
    ASSERT_EQ(3u, typed.size());
    for (const auto& entry : typed) {
        SCOPED_TRACE(entry.first);
        EXPECT_EQ(entries.at(entry.first).isDirectory, entry.second.isDirectory);
        EXPECT_FALSE(entry.second.isLink);
        if (entry.second.statusKnown) {
            EXPECT_EQ(entries.at(entry.first).size, entry.second.size);
        }
    }
    // Without a trailing separator the same directory lists the same way.
    std::string noSeparator = tree.Path("sub");
    EXPECT_EQ(std::set<std::string>{"inner.txt"}, NamesIn(*fs, noSeparator));

    int visited = 0;
    EXPECT_FALSE(fs->ListDirectory(tree.root(), EntryDetail::TypesOnly,
                                   [&](const DirEntry&) { return ++visited < 2; }));
    EXPECT_EQ(2, visited) << "the visitor stops the listing";
}

TEST(FileSystemTest, MissingThingsAreReportedAsNotFound) {
    TempTree tree;
    auto fs = MakeSystemFileSystem();
    const std::string missing = tree.Path("nothing-here");
    std::string bytes = "old";

    OsError list =
        fs->ListDirectory(missing, EntryDetail::TypesOnly, [](const DirEntry&) { return true; });
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(list)) << list.Describe();
    OsError read = fs->ReadFile(missing, bytes);
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(read)) << read.Describe();
    EXPECT_EQ(missing, read.path);
    EXPECT_TRUE(bytes.empty());
    OsError check = fs->CheckDirectory(missing);
    EXPECT_TRUE(check);
    OsError replace = fs->ReplaceFileContent(missing, "new");
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(replace)) << replace.Describe();
    EXPECT_TRUE(NamesIn(*fs, tree.root()).empty()) << "nothing may be created";
}

TEST(FileSystemTest, CheckDirectoryAcceptsOnlyDirectories) {
    TempTree tree;
    tree.MakeDir("d");
    tree.Write("f", "x");
    auto fs = MakeSystemFileSystem();
    EXPECT_FALSE(fs->CheckDirectory(tree.Path("d")));
    EXPECT_FALSE(fs->CheckDirectory(tree.Path("d/")));
    EXPECT_TRUE(fs->CheckDirectory(tree.Path("f")));
}

TEST(FileSystemTest, ReadsEveryByteUnchanged) {
    TempTree tree;
    std::string content("a\0b\r\nc\x80\xff", 8);
    content += std::string(200000, 'z'); // more than one read
    tree.Write("bin", content);
    tree.MakeDir("dir");
    auto fs = MakeSystemFileSystem();
    std::string bytes;
    ASSERT_FALSE(fs->ReadFile(tree.Path("bin"), bytes));
    EXPECT_EQ(content, bytes);
    EXPECT_TRUE(fs->ReadFile(tree.Path("dir"), bytes)) << "a directory is no file";
}

// The search run reads every file into one string; nothing of a longer file read
// before may stay behind, and a failed read leaves the string empty.
TEST(FileSystemTest, AReusedBufferHoldsExactlyEachFile) {
    TempTree tree;
    const std::string big(100000, 'b');
    tree.Write("big", big);
    tree.Write("small", "small");
    tree.Write("empty", "");
    auto fs = MakeSystemFileSystem();
    std::string bytes;
    const std::pair<const char*, std::string> reads[] = {
        {"big", big}, {"small", "small"}, {"empty", ""}, {"big", big}, {"small", "small"}};
    for (const auto& read : reads) {
        SCOPED_TRACE(read.first);
        ASSERT_FALSE(fs->ReadFile(tree.Path(read.first), bytes));
        EXPECT_EQ(read.second, bytes);
    }
    EXPECT_TRUE(fs->ReadFile(tree.Path("missing"), bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(FileSystemTest, ReplaceFileSwapsContentAndLeavesNothingBehind) {
    TempTree tree;
    tree.Write("doc.txt", "old content");
    auto fs = MakeSystemFileSystem();
    const std::string replacement = std::string("new\0content", 11) + std::string(100000, 'n');
    ASSERT_FALSE(fs->ReplaceFileContent(tree.Path("doc.txt"), replacement));
    EXPECT_EQ(replacement, tree.Read("doc.txt"));
    EXPECT_EQ(std::set<std::string>{"doc.txt"}, NamesIn(*fs, tree.root()));
    ASSERT_FALSE(fs->ReplaceFileContent(tree.Path("doc.txt"), ""));
    EXPECT_EQ("", tree.Read("doc.txt"));
}

TEST(FileSystemTest, ComparesNamesIgnoringCase) {
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"abc", "ABC", 0},
        {"a", "B", -1},
        {"B", "a", 1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"", "a", -1},
        {"Zeta", "alpha", 1},
        // Long shared beginnings, with the difference before, at and after eight bytes.
        {"/src/linux/drivers/a.c", "/src/linux/drivers/B.c", -1},
        {"/src/linuxZ", "/src/linuxa", 1},
        {"/SRC/LINUX/DRIVERS/", "/src/linux/drivers/", 0},
        {"/src/linux/drivers/", "/src/linux/drivers", 1},
    };
    auto fs = MakeSystemFileSystem();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int result = fs->CompareNames(c.a, c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0));
    }
}

TEST(FileSystemTest, StatusRemoveRenameAndFreeSpace) {
    TempTree tree;
    tree.Write("a.txt", "12345");
    tree.Write("b.txt", "b");
    tree.MakeDir("d");
    auto fs = MakeSystemFileSystem();

    FileStatus status;
    ASSERT_FALSE(fs->GetFileStatus(tree.Path("a.txt"), status));
    EXPECT_EQ(5u, status.size);
    EXPECT_FALSE(status.isDirectory);
    // Some time after 2001 in 100 ns ticks since 1601; creation never after the write.
    EXPECT_GT(status.lastWriteTime, 126000000000000000ULL);
    EXPECT_GT(status.creationTime, 126000000000000000ULL);
    ASSERT_FALSE(fs->GetFileStatus(tree.Path("d"), status));
    EXPECT_TRUE(status.isDirectory);
    OsError missing = fs->GetFileStatus(tree.Path("none"), status);
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(missing)) << missing.Describe();

    std::uint64_t free = 0;
    ASSERT_FALSE(fs->FreeSpace(tree.root(), free));
    EXPECT_GT(free, 0u);

    EXPECT_TRUE(fs->RenameFile(tree.Path("a.txt"), tree.Path("b.txt")))
        << "an existing target is never replaced";
    EXPECT_EQ("b", tree.Read("b.txt"));
    ASSERT_FALSE(fs->RenameFile(tree.Path("a.txt"), tree.Path("c.txt")));
    EXPECT_EQ("12345", tree.Read("c.txt"));
    ASSERT_FALSE(fs->RemoveFile(tree.Path("c.txt")));
    EXPECT_EQ((std::set<std::string>{"b.txt", "d"}), NamesIn(*fs, tree.root()));
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(fs->RemoveFile(tree.Path("c.txt"))));

    EXPECT_FALSE(fs->OpenExclusively(tree.Path("b.txt")));
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(fs->OpenExclusively(tree.Path("c.txt"))));
    const std::string program = fs->ProgramDirectory();
    ASSERT_FALSE(program.empty());
    EXPECT_TRUE(IsPathSeparator(program.back()));
    for (const std::string& dir : fs->CacheDirectories()) {
        SCOPED_TRACE(dir);
        EXPECT_FALSE(fs->CheckDirectory(dir));
    }
}

TEST(FileSystemTest, WholeFilesAndDirectoriesAreMadeAndRemoved) {
    TempTree tree;
    tree.Write("old.url", "a much longer old content");
    auto fs = MakeSystemFileSystem();

    bool created = false;
    ASSERT_FALSE(fs->WriteWholeFile(tree.Path("old.url"), "new", created));
    EXPECT_TRUE(created);
    EXPECT_EQ("new", tree.Read("old.url")) << "an existing file is emptied first";
    ASSERT_FALSE(fs->WriteWholeFile(tree.Path("fresh.url"), "", created));
    EXPECT_EQ(0u, ListAll(*fs, tree.root()).at("fresh.url").size);
    OsError noFolder = fs->WriteWholeFile(tree.Path("none/x.url"), "x", created);
    EXPECT_EQ(FileFailure::NotFound, ClassifyFailure(noFolder)) << noFolder.Describe();
    EXPECT_FALSE(created);

    ASSERT_FALSE(fs->MakeDirectory(tree.Path("d")));
    EXPECT_TRUE(fs->MakeDirectory(tree.Path("d"))) << "an existing directory is an error";
    EXPECT_TRUE(fs->MakeDirectory(tree.Path("a/b"))) << "parents are not made";
    tree.Write("d/inner.url", "x");
    EXPECT_TRUE(fs->RemoveEmptyDirectory(tree.Path("d"))) << "only empty directories go";
    ASSERT_FALSE(fs->RemoveFile(tree.Path("d/inner.url")));
    ASSERT_FALSE(fs->RemoveEmptyDirectory(tree.Path("d")));
    EXPECT_EQ((std::set<std::string>{"fresh.url", "old.url"}), NamesIn(*fs, tree.root()));
}

TEST(FileSystemTest, AFileHeldWithoutSharingCannotBeOpenedExclusively) {
    TempTree tree;
    tree.Write("held.doc", "x");
    auto fs = MakeSystemFileSystem();
#ifdef _WIN32
    HANDLE h = CreateFileW(WideFromAnsi(tree.Path("held.doc")).c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
#else
    const int fd = ::open(tree.Path("held.doc").c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(0, ::flock(fd, LOCK_EX));
#endif
    const OsError error = fs->OpenExclusively(tree.Path("held.doc"));
    EXPECT_EQ(FileFailure::Locked, ClassifyFailure(error)) << error.Describe();
#ifdef _WIN32
    CloseHandle(h);
#else
    ::close(fd);
#endif
    EXPECT_FALSE(fs->OpenExclusively(tree.Path("held.doc")));
}

#ifndef _WIN32

TEST(PosixFileSystemTest, FullPathFoldsDotsWithoutTouchingTheDisk) {
    struct Case {
        const char* path;
        const char* full;
    };
    const Case cases[] = {
        {"/a/b/", "/a/b/"},
        {"/a/./b", "/a/b"},
        {"/a/../b/", "/b/"},
        {"//a///b", "/a/b"},
        {"/..", "/"},
        {"/", "/"},
        {"/no/such/dir/", "/no/such/dir/"},
    };
    auto fs = MakeSystemFileSystem();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string full;
        ASSERT_FALSE(fs->FullPath(c.path, full));
        EXPECT_EQ(c.full, full);
    }
    std::string relative;
    ASSERT_FALSE(fs->FullPath("x/", relative));
    EXPECT_EQ('/', relative.front());
    EXPECT_EQ("/x/", relative.substr(relative.size() - 3));
}

TEST(PosixFileSystemTest, EveryRootIsAFixedDrive) {
    auto fs = MakeSystemFileSystem();
    EXPECT_EQ("/", fs->RootOf("/media/cdrom/x"));
    EXPECT_EQ(DriveType::Fixed, fs->DriveTypeOf("/"));
}

TEST(PosixFileSystemTest, ReplaceFileKeepsTheMode) {
    TempTree tree;
    tree.Write("script", "old");
    ASSERT_EQ(0, ::chmod(tree.Path("script").c_str(), 0741));
    auto fs = MakeSystemFileSystem();
    ASSERT_FALSE(fs->ReplaceFileContent(tree.Path("script"), "new"));
    struct stat st {};
    ASSERT_EQ(0, ::stat(tree.Path("script").c_str(), &st));
    EXPECT_EQ(0741u, st.st_mode & 07777);
}

// A write that the system cuts short must leave the old file whole.
TEST(PosixFileSystemTest, FailedWriteLeavesTheOldFileWhole) {
    TempTree tree;
    tree.Write("big.txt", "the old text");
    auto fs = MakeSystemFileSystem();

    OsError error;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        error = fs->ReplaceFileContent(tree.Path("big.txt"), std::string(100000, 'n'));
    }

    EXPECT_EQ(FileFailure::NoSpace, ClassifyFailure(error)) << error.Describe();
    EXPECT_EQ("the old text", tree.Read("big.txt"));
    EXPECT_EQ(std::set<std::string>{"big.txt"}, NamesIn(*fs, tree.root()));
}

// A whole-file write that the system cuts short leaves no half file behind.
TEST(PosixFileSystemTest, FailedWholeFileWriteRemovesTheFile) {
    TempTree tree;
    auto fs = MakeSystemFileSystem();
    bool created = false;
    OsError error;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        error = fs->WriteWholeFile(tree.Path("cut.url"), std::string(100000, 'n'), created);
    }

    EXPECT_EQ(FileFailure::NoSpace, ClassifyFailure(error)) << error.Describe();
    EXPECT_TRUE(created);
    EXPECT_TRUE(NamesIn(*fs, tree.root()).empty());
}

TEST(PosixFileSystemTest, OnlyRegularFilesAreRead) {
    TempTree tree;
    ASSERT_EQ(0, ::mkfifo(tree.Path("pipe").c_str(), 0600));
    auto fs = MakeSystemFileSystem();
    std::string bytes;
    EXPECT_TRUE(fs->ReadFile(tree.Path("pipe"), bytes)) << "a pipe without writer must not block";
    EXPECT_TRUE(fs->ReadFile("/dev/zero", bytes)) << "a device could deliver for ever";
    EXPECT_TRUE(bytes.empty());
    // A regular file that reports no size still has its content read to the end.
    EXPECT_FALSE(fs->ReadFile("/proc/self/status", bytes));
    EXPECT_NE(std::string::npos, bytes.find("Pid:")) << bytes.size();
}

TEST(PosixFileSystemTest, StatusOfTheFilesOfTheFolderJustRead) {
    TempTree tree;
    tree.Write("d/a.txt", "123");
    tree.Write("d/b.txt", "12345");
    tree.Write("d/sub/a.txt", "1234567");
    auto fs = MakeSystemFileSystem();
    std::string bytes;
    ASSERT_FALSE(fs->ReadFile(tree.Path("d/a.txt"), bytes));
    struct Case {
        const char* path;
        std::uint64_t size;
    };
    const Case cases[] = {{"d/a.txt", 3}, {"d/b.txt", 5}, {"d/sub/a.txt", 7}, {"d/sub", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileStatus status;
        ASSERT_FALSE(fs->GetFileStatus(tree.Path(c.path), status));
        EXPECT_EQ(c.size, status.size);
    }
    FileStatus status;
    EXPECT_EQ(FileFailure::NotFound,
              ClassifyFailure(fs->GetFileStatus(tree.Path("d/gone.txt"), status)));
    // The folder read from is renamed: its old path no longer leads to the file.
    ASSERT_FALSE(fs->RenameFile(tree.Path("d"), tree.Path("e")));
    EXPECT_EQ(FileFailure::NotFound,
              ClassifyFailure(fs->GetFileStatus(tree.Path("d/a.txt"), status)));
}

// The read that looks the file up as it opens it: the same status as GetFileStatus, and
// a file past the limit is refused before a byte of it is read.
TEST(PosixFileSystemTest, ReadWithinGivesTheStatusAndRefusesALongerFile) {
    TempTree tree;
    tree.Write("d/a.txt", "123");
    tree.Write("d/huge.txt", "x");
    // Sparse: three gigabytes that take no room on the disk.
    ASSERT_EQ(0, ::truncate(tree.Path("d/huge.txt").c_str(), 3LL << 30));
    auto fs = MakeSystemFileSystem();
    std::string bytes = "left over from another file";

    FileSystem::ReadWithin within;
    within.limit = 0x7FFFFFFF;
    ASSERT_FALSE(fs->ReadFileWithin(tree.Path("d/a.txt"), bytes, within));
    EXPECT_EQ("123", bytes);
    EXPECT_FALSE(within.tooLarge);
    ASSERT_TRUE(within.statusKnown);
    FileStatus looked;
    ASSERT_FALSE(fs->GetFileStatus(tree.Path("d/a.txt"), looked));
    EXPECT_EQ(looked.size, within.status.size);
    EXPECT_EQ(looked.lastWriteTime, within.status.lastWriteTime);
    EXPECT_EQ(looked.creationTime, within.status.creationTime);
    EXPECT_EQ(looked.attributes, within.status.attributes);

    ASSERT_FALSE(fs->ReadFileWithin(tree.Path("d/huge.txt"), bytes, within));
    EXPECT_TRUE(within.tooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(3ull << 30, within.status.size);

    // A file at the limit is read; the flags of the refused one do not stay behind.
    within.limit = 3;
    ASSERT_FALSE(fs->ReadFileWithin(tree.Path("d/a.txt"), bytes, within));
    EXPECT_FALSE(within.tooLarge);
    EXPECT_EQ("123", bytes);

    EXPECT_EQ(FileFailure::NotFound,
              ClassifyFailure(fs->ReadFileWithin(tree.Path("d/gone.txt"), bytes, within)));
    EXPECT_TRUE(fs->ReadFileWithin(tree.Path("d"), bytes, within)) << "a directory is no file";
    EXPECT_FALSE(within.tooLarge);
}

// A buffer off a 64-byte boundary is filled through a chunk of 128 KiB: files around the
// chunk's size and across several chunks come out whole, into a fresh buffer and into
// one that held a longer file.
TEST(PosixFileSystemTest, FilesReadThroughTheChunkComeOutWhole) {
    TempTree tree;
    const std::size_t chunk = 128u << 10;
    const std::size_t sizes[] = {0, 1, chunk - 1, chunk, chunk + 1, 3 * chunk + 7, 5};
    PosixFileSystem fs;
    fs.ReadThroughChunkAlways();
    std::string reused;
    for (std::size_t size : sizes) {
        SCOPED_TRACE(size);
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>((i * 131 + i / 4096) & 0xFF);
        tree.Write("f", content);
        std::string fresh;
        ASSERT_FALSE(fs.ReadFile(tree.Path("f"), fresh));
        EXPECT_TRUE(fresh == content);
        ASSERT_FALSE(fs.ReadFile(tree.Path("f"), reused));
        EXPECT_TRUE(reused == content);
    }
    // A regular file that reports no size is read on to its end.
    std::string status;
    EXPECT_FALSE(fs.ReadFile("/proc/self/status", status));
    EXPECT_NE(std::string::npos, status.find("Pid:"));
}

TEST(PosixFileSystemTest, LinksAreMarkedAndReportTheirTarget) {
    TempTree tree;
    tree.MakeDir("real");
    ASSERT_EQ(0, ::symlink(tree.Path("real").c_str(), tree.Path("loop").c_str()));
    ASSERT_EQ(0, ::symlink(tree.Path("gone").c_str(), tree.Path("dangling").c_str()));
    tree.Write("text", "12345");
    ASSERT_EQ(0, ::symlink("text", tree.Path("alias").c_str()));
    auto fs = MakeSystemFileSystem();
    // A listing of types only still follows links: a walk must not mistake a link to a
    // folder for a file, nor follow it as a folder of its own.
    for (const EntryDetail detail : {EntryDetail::SizeAndTime, EntryDetail::TypesOnly}) {
        SCOPED_TRACE(detail == EntryDetail::TypesOnly ? "types only" : "size and time");
        const auto entries = ListAll(*fs, tree.root(), detail);
        EXPECT_TRUE(entries.at("alias").isLink);
        EXPECT_FALSE(entries.at("alias").isDirectory);
        EXPECT_EQ(5u, entries.at("alias").size) << "a link reports its target's size";
        EXPECT_TRUE(entries.at("loop").isLink);
        EXPECT_TRUE(entries.at("loop").isDirectory);
        EXPECT_TRUE(entries.at("dangling").isLink);
        EXPECT_FALSE(entries.at("dangling").isDirectory);
        EXPECT_FALSE(entries.at("real").isLink);
        EXPECT_TRUE(entries.at("real").isDirectory);
    }
}

#else

// Holds a file open the way another program would that refuses to share it.
class ExclusiveOpen {
public:
    explicit ExclusiveOpen(const std::string& path)
        : handle_(CreateFileW(WideFromAnsi(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~ExclusiveOpen() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

TEST(Win32FileSystemTest, LockedFileIsToldApartFromMissing) {
    TempTree tree;
    tree.Write("locked.txt", "secret");
    auto fs = MakeSystemFileSystem();
    ExclusiveOpen lock(tree.Path("locked.txt"));
    ASSERT_TRUE(lock.ok());
    std::string bytes;
    const OsError read = fs->ReadFile(tree.Path("locked.txt"), bytes);
    EXPECT_EQ(FileFailure::Locked, ClassifyFailure(read)) << read.Describe();
    FileSystem::ReadWithin within;
    const OsError readWithin = fs->ReadFileWithin(tree.Path("locked.txt"), bytes, within);
    EXPECT_EQ(FileFailure::Locked, ClassifyFailure(readWithin)) << readWithin.Describe();
    const OsError replace = fs->ReplaceFileContent(tree.Path("locked.txt"), "new");
    EXPECT_TRUE(replace);
    EXPECT_EQ(std::set<std::string>{"locked.txt"}, NamesIn(*fs, tree.root()));
}

TEST(Win32FileSystemTest, ReplaceFileKeepsAttributes) {
    TempTree tree;
    tree.Write("hidden.txt", "old");
    const std::wstring path = WideFromAnsi(tree.Path("hidden.txt"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    auto fs = MakeSystemFileSystem();
    ASSERT_FALSE(fs->ReplaceFileContent(tree.Path("hidden.txt"), "new"));
    EXPECT_EQ("new", tree.Read("hidden.txt"));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(Win32FileSystemTest, FullPathAndRoots) {
    auto fs = MakeSystemFileSystem();
    struct Case {
        const char* path;
        const char* full;
        const char* root;
    };
    const Case cases[] = {
        {"C:\\a\\.\\b\\..\\c\\", "C:\\a\\c\\", "C:\\"},
        {"c:/x/y", "c:\\x\\y", "c:\\"},
        {"\\\\server\\share\\dir\\", "\\\\server\\share\\dir\\", "\\\\server\\share\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string full;
        ASSERT_FALSE(fs->FullPath(c.path, full));
        EXPECT_EQ(c.full, full);
        EXPECT_EQ(c.root, fs->RootOf(c.path));
    }
    EXPECT_EQ(DriveType::Fixed, fs->DriveTypeOf("C:\\"));
}

TEST(Win32FileSystemTest, NamesCompareInTheLocaleNotByBytes) {
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs code page 1252";
    struct Case {
        const char* a;
        const char* b;
        int sign;
    };
    const Case cases[] = {
        {"\xC4rger", "zebra", -1}, // A umlaut sorts with A, not after Z as its byte would
        {"\xE4rger", "\xC4RGER", 0},
        {"\xE9t\xE9", "ete", 1},
        {"b", "A", 1},
    };
    auto fs = MakeSystemFileSystem();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        const int result = fs->CompareNames(c.a, c.b);
        EXPECT_EQ(c.sign, (result > 0) - (result < 0));
    }
}

TEST(Win32FileSystemTest, ShortNamesAreRecognised) {
    TempTree tree;
    tree.Write("README.TXT", "x");
    tree.Write("A long file name.text", "x");
    auto fs = MakeSystemFileSystem();
    const auto entries = ListAll(*fs, tree.root());
    EXPECT_TRUE(entries.at("README.TXT").isShortName);
    EXPECT_FALSE(entries.at("A long file name.text").isShortName);
}

TEST(Win32FileSystemTest, CodePageNamesRoundTrip) {
    TempTree tree;
    // "Grüße.txt" in the Latin-1 code page that the program and Wine's default use.
    const std::string name = "Gr\xFC\xDF"
                             "e.txt";
    if (GetACP() != 1252)
        GTEST_SKIP() << "needs code page 1252";
    auto fs = MakeSystemFileSystem();
    HANDLE h = CreateFileW(WideFromAnsi(tree.Path(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_EQ(std::set<std::string>{name}, NamesIn(*fs, tree.root()));
    std::string bytes;
    EXPECT_FALSE(fs->ReadFile(tree.Path(name), bytes));
}

// A walk takes a folder's identity from its parent's listing instead of opening it: the
// index listed must be the one the folder itself tells, and the size and time those of
// the file.
TEST(Win32FileSystemTest, ListingTellsEachEntrysIndexAsItsIdentityDoes) {
    TempTree tree;
    tree.Write("a.txt", "12345");
    tree.MakeDir("sub");
    tree.MakeDir("sub/deeper");
    tree.Write("sub/b.txt", "x");
    auto fs = MakeSystemFileSystem();
    std::set<std::uint64_t> indexes;
    for (const std::string& dir : {tree.root(), tree.Path("sub")}) {
        for (const auto& entry : ListAll(*fs, dir)) {
            SCOPED_TRACE(entry.first);
            const std::string path = dir + (dir.back() == '\\' ? "" : "\\") + entry.first;
            FileIdentity identity;
            ASSERT_FALSE(fs->GetFileIdentity(path, identity));
            ASSERT_TRUE(entry.second.indexKnown);
            EXPECT_EQ(identity.index, entry.second.index);
            indexes.insert(entry.second.index);
            FileStatus status;
            ASSERT_FALSE(fs->GetFileStatus(path, status));
            EXPECT_EQ(status.size, entry.second.size);
            EXPECT_EQ(SecondsSince1970(status.lastWriteTime), entry.second.modified);
        }
    }
    EXPECT_EQ(4u, indexes.size()) << "every entry its own index";
}

// A file named as a folder cannot be listed, as before the listing took indexes along.
TEST(Win32FileSystemTest, AFileIsNotListedAsAFolder) {
    TempTree tree;
    tree.Write("a.txt", "12345");
    auto fs = MakeSystemFileSystem();
    int visited = 0;
    const OsError error = fs->ListDirectory(tree.Path("a.txt"), EntryDetail::TypesOnly,
                                            [&](const DirEntry&) { return ++visited > 0; });
    EXPECT_TRUE(error);
    EXPECT_EQ(0, visited);
}

#endif

} // namespace
} // namespace kestrix
