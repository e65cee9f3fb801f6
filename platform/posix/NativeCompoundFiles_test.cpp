// What only the native compound files must show: damaged files fail cleanly, the
// share locks keep out other processes, also across a commit that replaces the file,
// and a release that cannot write its changes reports the failure.
#include "platform/posix/NativeCompoundFiles.h"
#include "platform/testing/CompoundTreeText.h"
#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrix {
namespace {

using namespace StorageMode;

// Opens `path` in a child process and returns the code it got (0 for success).
long OpenFromAnotherProcess(const std::string& path, unsigned mode) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        NativeCompoundFiles files;
        std::unique_ptr<Storage> root;
        const long code = files.Open(path, mode, root).code;
        (void)!::write(pipeFds[1], &code, sizeof code);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    long code = -1;
    if (::read(pipeFds[0], &code, sizeof code) != sizeof code)
        code = -1;
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return code;
}

TEST(NativeCompoundFiles, AnotherProcessIsKeptOutAlsoAfterACommit) {
    TempTree dir;
    const std::string path = dir.Path("locked.cfb");
    NativeCompoundFiles files;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files.Create(path, kTransacted | kCreate | kReadWrite | kShareDenyWrite, root));
    EXPECT_EQ(StorageError::kShareViolation,
              OpenFromAnotherProcess(path, kTransacted | kReadWrite | kShareDenyWrite));
    EXPECT_EQ(0, OpenFromAnotherProcess(path, kTransacted | kRead | kShareDenyNone));
    // The commit puts a new file in place; the locks move with it.
    ASSERT_FALSE(testtree::Build(*root, "S=1;"));
    ASSERT_FALSE(root->Commit());
    EXPECT_EQ(StorageError::kShareViolation,
              OpenFromAnotherProcess(path, kReadWrite | kShareExclusive));
    root.reset();
    EXPECT_EQ(0, OpenFromAnotherProcess(path, kReadWrite | kShareExclusive));
}

std::vector<OsError>& ReleaseFailures() {
    static std::vector<OsError> failures;
    return failures;
}

TEST(NativeCompoundFiles, AReleaseThatCannotWriteReportsToTheHook) {
    TempTree dir;
    const std::string folder = dir.Path("gone");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0700));
    const std::string path = folder + "/direct.cfb";
    NativeCompoundFiles files;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files.Create(path, kCreate | kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(testtree::Build(*root, "S=1;"));
    // The folder goes away under the open file: the new file cannot be written beside it.
    ASSERT_EQ(0, ::unlink(path.c_str()));
    ASSERT_EQ(0, ::rmdir(folder.c_str()));
    ReleaseFailures().clear();
    ReleaseFailureHook previous =
        SetReleaseFailureHook([](const OsError& e) { ReleaseFailures().push_back(e); });
    root.reset();
    SetReleaseFailureHook(previous);
    ASSERT_EQ(1u, ReleaseFailures().size());
    EXPECT_EQ(path, ReleaseFailures()[0].path);
    EXPECT_EQ("mkstemp", ReleaseFailures()[0].function);
    EXPECT_EQ(StorageError::kFileNotFound, ReleaseFailures()[0].code);
}

// The inode of `path`: a commit that writes puts a new file in place.
ino_t InodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(NativeCompoundFiles, OnlyAChangedTreeIsWrittenBack) {
    TempTree dir;
    const std::string path = dir.Path("kept.cfb");
    NativeCompoundFiles files;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files.Create(path, kCreate | kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(testtree::Build(*root, "S=1;D/T=22;"));
    root.reset();
    const ino_t written = InodeOf(path);
    ASSERT_NE(0u, written);

    // Opened for writing, read, committed and released: the file stays as it was.
    ASSERT_FALSE(files.Open(path, kReadWrite | kShareExclusive, root));
    const std::string before = testtree::Dump(*root);
    ASSERT_FALSE(root->Commit());
    root.reset();
    EXPECT_EQ(written, InodeOf(path));

    // A change is written, and reads back.
    ASSERT_FALSE(files.Open(path, kReadWrite | kShareExclusive, root));
    ASSERT_FALSE(testtree::Build(*root, "U=333;"));
    root.reset();
    EXPECT_NE(written, InodeOf(path));
    ASSERT_FALSE(files.Open(path, kRead | kShareDenyWrite, root));
    const std::string after = testtree::Dump(*root);
    EXPECT_NE(before, after);
    EXPECT_NE(std::string::npos, after.find("U=333")) << after;
}

TEST(NativeCompoundFiles, DamagedFilesFailWithoutHarm) {
    TempTree dir;
    NativeCompoundFiles files;
    std::string tree = "Small=abc;Sub/Inner=def;Big=";
    tree += std::string(9000, 'b');
    {
        std::unique_ptr<Storage> root;
        ASSERT_FALSE(
            files.Create(dir.Path("good.cfb"), kCreate | kReadWrite | kShareExclusive, root));
        ASSERT_FALSE(testtree::Build(*root, tree));
    }
    const std::string good = dir.Read("good.cfb");
    ASSERT_GT(good.size(), 10000u);

    auto check = [&](const std::string& bytes) {
        dir.Write("bad.cfb", bytes);
        std::unique_ptr<Storage> root;
        const OsError e = files.Open(dir.Path("bad.cfb"), kRead | kShareDenyWrite, root);
        if (e) {
            EXPECT_TRUE(e.code == StorageError::kInvalidHeader ||
                        e.code == StorageError::kReadFault ||
                        e.code == StorageError::kFileAlreadyExists)
                << e.Describe();
        } else {
            testtree::Dump(*root); // whatever it holds must be readable
        }
    };
    // Cut at every sector boundary and inside the header.
    for (std::size_t size = 0; size < good.size(); size += (size < 512 ? 37 : 512)) {
        SCOPED_TRACE(size);
        check(good.substr(0, size));
    }
    // A directory entry that claims a stream far larger than the file.
    {
        std::string bytes = good;
        const auto entry = bytes.find(std::string("B\0i\0g\0\0\0", 8));
        ASSERT_NE(std::string::npos, entry);
        bytes.replace(entry + 120, 4, "\xF0\xFF\xFF\x7F");
        dir.Write("bad.cfb", bytes);
        std::unique_ptr<Storage> root;
        // The reader would drop such an entry and all it links to; the file is
        // reported as damaged rather than opened with parts missing.
        EXPECT_EQ(StorageError::kInvalidHeader,
                  files.Open(dir.Path("bad.cfb"), kRead | kShareDenyWrite, root).code);
    }
    // Random damage, reproducible: a few bytes at a time, mostly in the header and
    // the allocation and directory sectors where sizes and chains live.
    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) {
            const std::size_t at = (round % 2) ? random() % 512 : random() % bytes.size();
            bytes[at] = static_cast<char>(random());
        }
        check(bytes);
    }
}

std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(directory.c_str())) {
        while (const dirent* entry = ::readdir(d))
            if (entry->d_name[0] != '.')
                names.push_back(entry->d_name);
        ::closedir(d);
    }
    return names;
}

// A commit cut off at any point of its write (the disk full there) fails as a full
// medium, leaves the file as it was committed before, and lets the next commit through.
TEST(NativeCompoundFiles, ACommitCutOffAnywhereLeavesTheOldFileWhole) {
    TempTree dir;
    const std::string path = dir.Path("cut.cfb");
    NativeCompoundFiles files;
    std::unique_ptr<Storage> root;
    ASSERT_FALSE(files.Create(path, kTransacted | kCreate | kReadWrite | kShareDenyWrite, root));
    ASSERT_FALSE(testtree::Build(*root, "Old=" + std::string(3000, 'o') + ";D/Kept=k;"));
    ASSERT_FALSE(root->Commit());
    const std::string committed = FileBytes(path);
    ASSERT_FALSE(testtree::Build(*root, "New=" + std::string(20000, 'n') + ";D/More=m;"));

    int cuts = 0;
    for (rlim_t cut = 0;; cut += kWriteCutStep) {
        OsError error;
        {
            FileSizeLimit limit(cut);
            ASSERT_TRUE(limit.active());
            error = root->Commit();
        }
        if (!error)
            break;
        SCOPED_TRACE(cut);
        ++cuts;
        EXPECT_EQ(StorageError::kMediumFull, error.code) << error.Describe();
        ASSERT_EQ(committed, FileBytes(path));
        ASSERT_EQ(std::vector<std::string>{"cut.cfb"}, NamesIn(dir.root()))
            << "the half-written file is not left behind";
    }
    EXPECT_GT(cuts, 40) << "the commit was cut at too few places to test anything";
    root.reset();
    ASSERT_FALSE(files.Open(path, kRead | kShareDenyWrite, root));
    const std::string tree = testtree::Dump(*root);
    EXPECT_NE(std::string::npos, tree.find("D/More=m")) << tree;
}

} // namespace
} // namespace kestrix
