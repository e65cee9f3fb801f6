// Tests that a rewrite through the file-system seam respects the user's rights and keeps
// the file's identity: owner, mode, attributes, links.
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/TempTree.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32FileSystem.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

#include "platform/testing/FileSizeLimit.h"
#include "platform/testing/Unprivileged.h"
#endif

namespace kestrix {
namespace {

#ifndef _WIN32

struct stat StatOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(0, ::lstat(path.c_str(), &st)) << path;
    return st;
}

// Files the ordinary user may not change stay as they were, whoever owns the folder.
TEST(PosixFileReplaceTest, AFileTheUserMayNotWriteIsNotWritten) {
    struct Case {
        const char* name;
        mode_t mode;
        bool ownedByUser; // else by root (when the test runs as root)
    };
    const Case cases[] = {
        {"read-only, own file", 0444, true},
        {"another user's file", 0644, false},
        {"group-writable, other group", 0664, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempTree tree;
        OpenForUnprivileged(tree.root());
        tree.Write("f.txt", "old text");
        const std::string path = tree.Path("f.txt");
        if (!c.ownedByUser && ::geteuid() != 0) {
            GTEST_SKIP() << "a file of another user needs root to set up";
        }
        if (c.ownedByUser && ::geteuid() == 0) {
            ASSERT_EQ(0, ::chown(path.c_str(), kUnprivilegedUser, kUnprivilegedGroup));
        }
        ASSERT_EQ(0, ::chmod(path.c_str(), c.mode));
        const struct stat before = StatOf(path);

        const int code = RunUnprivileged([&] {
            auto fs = MakeSystemFileSystem();
            const OsError error = fs->ReplaceFileContent(path, "new text");
            return error && ClassifyFailure(error) == FileFailure::AccessDenied &&
                           error.path == path
                       ? 0
                       : 1;
        });
        EXPECT_EQ(0, code) << "the rewrite was not refused as denied";
        EXPECT_EQ("old text", tree.Read("f.txt"));
        const struct stat after = StatOf(path);
        EXPECT_EQ(before.st_ino, after.st_ino);
        EXPECT_EQ(before.st_uid, after.st_uid);
        EXPECT_EQ(before.st_mode, after.st_mode);
        auto fs = MakeSystemFileSystem();
        int names = 0;
        fs->ListDirectory(tree.root(), EntryDetail::TypesOnly, [&](const DirEntry&) {
            ++names;
            return true;
        });
        EXPECT_EQ(1, names);
    }
}

// A file another user owns and lets others write keeps its owner when they change it.
TEST(PosixFileReplaceTest, AnotherUsersWritableFileKeepsItsOwner) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "a file of another user needs root to set up";
    TempTree tree;
    OpenForUnprivileged(tree.root());
    tree.Write("shared.txt", "old text");
    const std::string path = tree.Path("shared.txt");
    ASSERT_EQ(0, ::chmod(path.c_str(), 0666));
    const struct stat before = StatOf(path);

    const int code = RunUnprivileged([&] {
        return MakeSystemFileSystem()->ReplaceFileContent(path, "new, longer text") ? 1 : 0;
    });
    ASSERT_EQ(0, code);
    EXPECT_EQ("new, longer text", tree.Read("shared.txt"));
    const struct stat after = StatOf(path);
    EXPECT_EQ(0u, after.st_uid);
    EXPECT_EQ(0u, after.st_gid);
    EXPECT_EQ(0666u, after.st_mode & 07777);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

// Root rewriting another user's file must neither take it over nor keep set-id bits
// for the wrong owner.
TEST(PosixFileReplaceTest, RootKeepsOwnerGroupAndSetIdBits) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can rewrite another user's file";
    TempTree tree;
    tree.Write("tool", "old program");
    const std::string path = tree.Path("tool");
    ASSERT_EQ(0, ::chown(path.c_str(), kUnprivilegedUser, kUnprivilegedGroup));
    ASSERT_EQ(0, ::chmod(path.c_str(), 04751));

    ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(path, "new program"));
    EXPECT_EQ("new program", tree.Read("tool"));
    const struct stat after = StatOf(path);
    EXPECT_EQ(kUnprivilegedUser, after.st_uid);
    EXPECT_EQ(kUnprivilegedGroup, after.st_gid);
    EXPECT_EQ(04751u, after.st_mode & 07777);
}

#ifdef __linux__
TEST(PosixFileReplaceTest, ExtendedAttributesAreKept) {
    TempTree tree;
    tree.Write("tagged.txt", "old");
    const std::string path = tree.Path("tagged.txt");
    if (::setxattr(path.c_str(), "user.kestrix", "kept", 4, 0) != 0)
        GTEST_SKIP() << "the scratch folder's file system keeps no user attributes";
    ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(path, "new"));
    char value[16] = {};
    ASSERT_EQ(4, ::getxattr(path.c_str(), "user.kestrix", value, sizeof value));
    EXPECT_EQ("kept", std::string(value, 4));
}
#endif

// Rewriting through a symbolic link changes the file it names and keeps the link.
TEST(PosixFileReplaceTest, ASymbolicLinkIsFollowed) {
    TempTree tree;
    tree.MakeDir("real");
    tree.Write("real/target.txt", "old");
    const std::string link = tree.Path("link.txt");
    ASSERT_EQ(0, ::symlink("real/target.txt", link.c_str()));

    ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(link, "new"));
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode));
    EXPECT_EQ("new", tree.Read("real/target.txt"));
    auto fs = MakeSystemFileSystem();
    int names = 0;
    fs->ListDirectory(tree.Path("real"), EntryDetail::TypesOnly, [&](const DirEntry&) {
        ++names;
        return true;
    });
    EXPECT_EQ(1, names);
}

// Every name of a file with several hard links sees the new content: it is the same file.
TEST(PosixFileReplaceTest, AFileWithSeveralLinksIsRewrittenInPlace) {
    for (const std::string replacement : {"a longer new text", "short", ""}) {
        SCOPED_TRACE(replacement);
        TempTree tree;
        tree.Write("one.txt", "the old text");
        ASSERT_EQ(0, ::link(tree.Path("one.txt").c_str(), tree.Path("two.txt").c_str()));
        const ino_t inode = StatOf(tree.Path("one.txt")).st_ino;

        ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(tree.Path("one.txt"), replacement));
        EXPECT_EQ(replacement, tree.Read("one.txt"));
        EXPECT_EQ(replacement, tree.Read("two.txt"));
        EXPECT_EQ(inode, StatOf(tree.Path("one.txt")).st_ino);
        EXPECT_EQ(2u, StatOf(tree.Path("two.txt")).st_nlink);
    }
}

// No room for the longer content: the file, every link of it, stays whole.
TEST(PosixFileReplaceTest, AFullDiskLeavesALinkedFileWhole) {
    TempTree tree;
    tree.Write("one.txt", "the old text");
    ASSERT_EQ(0, ::link(tree.Path("one.txt").c_str(), tree.Path("two.txt").c_str()));
    OsError error;
    {
        FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.active());
        error = MakeSystemFileSystem()->ReplaceFileContent(tree.Path("one.txt"),
                                                           std::string(100000, 'n'));
    }
    EXPECT_EQ(FileFailure::NoSpace, ClassifyFailure(error)) << error.Describe();
    EXPECT_EQ(tree.Path("one.txt"), error.path);
    EXPECT_EQ("the old text", tree.Read("two.txt"));
    EXPECT_EQ(12, StatOf(tree.Path("one.txt")).st_size);
}

// A named pipe is no file to rewrite: refused at once instead of waiting for a reader.
TEST(PosixFileReplaceTest, ANamedPipeIsRefusedWithoutBlocking) {
    TempTree tree;
    const std::string pipe = tree.Path("pipe.txt");
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0644));
    const OsError error = MakeSystemFileSystem()->ReplaceFileContent(pipe, "new");
    EXPECT_TRUE(error);
    EXPECT_EQ(pipe, error.path);
    EXPECT_TRUE(S_ISFIFO(StatOf(pipe).st_mode));
}

#else // _WIN32

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WideFromAnsi(path).c_str());
}

// The read-only attribute is the user's "do not change": the rewrite is refused.
TEST(Win32FileReplaceTest, AReadOnlyFileIsNotWritten) {
    TempTree tree;
    tree.Write("f.txt", "old text");
    const std::string path = tree.Path("f.txt");
    ASSERT_TRUE(SetFileAttributesW(WideFromAnsi(path).c_str(), FILE_ATTRIBUTE_READONLY));
    const OsError error = MakeSystemFileSystem()->ReplaceFileContent(path, "new text");
    EXPECT_EQ(FileFailure::AccessDenied, ClassifyFailure(error)) << error.Describe();
    EXPECT_EQ(path, error.path);
    SetFileAttributesW(WideFromAnsi(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("old text", tree.Read("f.txt"));
}

// Both names of a hard-linked file see the new content.
TEST(Win32FileReplaceTest, AFileWithSeveralLinksIsRewrittenInPlace) {
    TempTree tree;
    tree.Write("one.txt", "the old text");
    ASSERT_TRUE(CreateHardLinkW(WideFromAnsi(tree.Path("two.txt")).c_str(),
                                WideFromAnsi(tree.Path("one.txt")).c_str(), nullptr));
    ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(tree.Path("one.txt"), "new"));
    EXPECT_EQ("new", tree.Read("one.txt"));
    EXPECT_EQ("new", tree.Read("two.txt"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, AttributesOf(tree.Path("two.txt")));
}

// A symbolic link is followed: its target gets the new content and the link stays a
// link. Creating one needs a right that not every account or system grants.
TEST(Win32FileReplaceTest, ASymbolicLinkIsFollowed) {
    using CreateLinkFunction = BOOLEAN(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
    const auto createLink = reinterpret_cast<CreateLinkFunction>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
    TempTree tree;
    tree.Write("target/real.txt", "the old text");
    tree.MakeDir("links");
    const std::string link = tree.Path("links/link.txt");
    if (createLink == nullptr ||
        !createLink(WideFromAnsi(link).c_str(), WideFromAnsi(tree.Path("target/real.txt")).c_str(),
                    0) ||
        AttributesOf(link) == INVALID_FILE_ATTRIBUTES ||
        (AttributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        GTEST_SKIP() << "this system makes no symbolic links to files";
    ASSERT_FALSE(MakeSystemFileSystem()->ReplaceFileContent(link, "new"));
    EXPECT_EQ("new", tree.Read("target/real.txt"));
    EXPECT_NE(0u, AttributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ("new", tree.Read("links/link.txt"));
}

TEST(Win32FileReplaceTest, FinalNamesLoseTheirLongPathPrefix) {
    const struct {
        const wchar_t* finalName;
        const wchar_t* expected;
    } cases[] = {
        {L"\\\\?\\C:\\dir\\file.txt", L"C:\\dir\\file.txt"},
        {L"\\\\?\\UNC\\server\\share\\file.txt", L"\\\\server\\share\\file.txt"},
        {L"C:\\dir\\file.txt", L"C:\\dir\\file.txt"},
        {L"\\\\server\\share\\file.txt", L"\\\\server\\share\\file.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(AnsiFromWide(c.finalName));
        EXPECT_EQ(std::wstring(c.expected), DosPathFromFinalName(c.finalName));
    }
}

#endif

} // namespace
} // namespace kestrix
