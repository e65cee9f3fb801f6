// The bookmark folder: beside the module when it can be written, else below the user's
// application data, made with its parents on first use; and the temporary drop files.
#include "bookmarks/BookmarkFolder.h"
#include "bookmarks/BookmarkNames.h"
#include "bookmarks/TemporaryFiles.h"

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(BookmarkFolder, BesideTheModuleOnlyWhenItCanBeWritten) {
    kestrix::TempTree tree;
    auto real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs(*real);
    const std::string module = tree.Path("program/keywright.dll");
    const std::string beside = tree.Path("program/Bookmarks");
    const std::string appData = tree.Path("appdata");
    const std::string user = tree.Path("appdata/Velmara/Keywright/Bookmarks");
    EXPECT_EQ(beside, FolderBesideModule(module));

    struct Case {
        const char* name;
        bool besideExists;
        bool besideWritable;
        std::string appData;
        std::string expected;
        bool madeOnFirstUse;
    } cases[] = {
        {"writable folder beside the module", true, true, appData, beside, false},
        {"read-only folder beside the module", true, false, appData, user, true},
        {"no folder beside the module", false, true, appData, user, true},
        {"no application data folder known", false, true, "", beside, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree.MakeDir("program");
        if (c.besideExists)
            tree.MakeDir("program/Bookmarks");
        fs.failCreate.clear();
        if (!c.besideWritable)
            fs.failCreate[JoinPath(beside, kWriteProbeName)] = kestrix::FileFailure::AccessDenied;
        BookmarkFolder folder = ChooseBookmarkFolder(fs, module, c.appData);
        EXPECT_EQ(c.expected, folder.path);
        EXPECT_EQ(c.madeOnFirstUse, folder.madeOnFirstUse);
        EXPECT_EQ("", tree.Read(JoinPath("program/Bookmarks", kWriteProbeName)))
            << "the probe is removed again";
        real->RemoveEmptyDirectory(beside);
    }
}

TEST(BookmarkFolder, MadeWithItsParentsOnlyWhenAllowed) {
    kestrix::TempTree tree;
    auto real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs(*real);
    const std::string user = tree.Path("appdata/Velmara/Keywright/Bookmarks");
    kestrix::FileStatus status;

    EXPECT_FALSE(MakeBookmarkFolder(fs, {tree.Path("beside"), false}));
    EXPECT_TRUE(fs.GetFileStatus(tree.Path("beside"), status)) << "the module's is never made";

    fs.failMakeDir[tree.Path("appdata/Velmara/Keywright")] = kestrix::FileFailure::AccessDenied;
    EXPECT_TRUE(MakeBookmarkFolder(fs, {user, true}));
    fs.failMakeDir.clear();
    ASSERT_FALSE(MakeBookmarkFolder(fs, {user, true}));
    ASSERT_FALSE(fs.GetFileStatus(user, status));
    EXPECT_TRUE(status.isDirectory);
    EXPECT_FALSE(MakeBookmarkFolder(fs, {user, true})) << "an existing folder is fine";
}

TEST(TemporaryFiles, EachFileOnceAndAllGoneAtTheEnd) {
    kestrix::TempTree tree;
    auto fs = kestrix::MakeSystemFileSystem();
    tree.Write("a.url", "a");
    tree.Write("b.url", "b");
    TemporaryFiles files;
    files.Add(tree.Path("a.url"));
    files.Add(tree.Path("b.url"));
    files.Add(tree.Path("a.url"));
    files.Add(tree.Path("A.URL"));
    files.Add(tree.Path("moved-away.url"));
    EXPECT_EQ(3u, files.paths().size());
    files.DeleteAll(*fs);
    EXPECT_TRUE(files.paths().empty());
    kestrix::FileStatus status;
    EXPECT_TRUE(fs->GetFileStatus(tree.Path("a.url"), status));
    EXPECT_TRUE(fs->GetFileStatus(tree.Path("b.url"), status));
}

} // namespace
} // namespace keywright
