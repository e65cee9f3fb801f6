// The running program's bookmark folder: below the user's application data until a
// writable "Bookmarks" stands beside the program.
#include "bookmarks/win32/BookmarkFolderWin32.h"

#include "bookmarks/BookmarkNames.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(BookmarkFolderWin32, BesideTheProgramOnlyWhenThereIsOne) {
    auto fs = kestrix::MakeSystemFileSystem();
    const std::string beside = FolderBesideModule(ModuleFileName(nullptr));
    fs->RemoveEmptyDirectory(beside);
    const std::string appData = UserApplicationDataFolder();
    ASSERT_FALSE(appData.empty());

    BookmarkFolder folder = FindBookmarkFolder(*fs, nullptr);
    EXPECT_EQ(JoinPath(appData, "Velmara\\Keywright\\Bookmarks"), folder.path);
    EXPECT_TRUE(folder.madeOnFirstUse);

    ASSERT_FALSE(fs->MakeDirectory(beside));
    folder = FindBookmarkFolder(*fs, nullptr);
    EXPECT_EQ(beside, folder.path);
    EXPECT_FALSE(folder.madeOnFirstUse);
    EXPECT_FALSE(fs->RemoveEmptyDirectory(beside)) << "the write probe left nothing behind";
}

} // namespace
} // namespace keywright
