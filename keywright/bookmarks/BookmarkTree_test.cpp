// The pane's items against real folders: loading and order, new folders, renames,
// deletions and written bookmarks, each failure shown with the tree left as it was.
#include "bookmarks/BookmarkTree.h"

#include "bookmarks/BookmarkNames.h"
#include "host/LocationEncoding.h"
#include "host/KeyPath.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace keywright {
namespace {

class RecordingUi : public BookmarkUi {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool Confirm(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    bool answer = true;
};

// The tree as text: each item's shown text, folders with their children in brackets.
std::string Outline(const BookmarkTree& tree, const BookmarkItem& item) {
    std::string text = tree.DisplayText(item);
    if (item.isBookmark)
        return text;
    text += "[";
    for (std::size_t i = 0; i < item.children.size(); ++i)
        text += (i ? " " : "") + Outline(tree, *item.children[i]);
    return text + "]";
}

BookmarkItem* Child(BookmarkItem& folder, const std::string& name) {
    for (auto& child : folder.children)
        if (child->name == name)
            return child.get();
    return nullptr;
}

bool Exists(kestrix::FileSystem& fs, const std::string& path) {
    kestrix::FileStatus status;
    return !fs.GetFileStatus(path, status);
}

class BookmarkTreeTest : public ::testing::Test {
protected:
    BookmarkTreeTest() : real(kestrix::MakeSystemFileSystem()), fs(*real) {}
    BookmarkTree Load(const std::string& folder = "Bookmarks", bool madeOnFirstUse = false) {
        BookmarkTree tree(fs, ui, {disk.Path(folder), madeOnFirstUse});
        tree.Reload();
        return tree;
    }
    std::string Outline(BookmarkTree& tree) { return keywright::Outline(tree, tree.root()); }

    kestrix::TempTree disk;
    std::unique_ptr<kestrix::FileSystem> real;
    kestrix::FaultyFileSystem fs;
    RecordingUi ui;
};

TEST_F(BookmarkTreeTest, LoadsFoldersFirstThenBookmarksByNameIgnoringCase) {
    disk.Write("Bookmarks/zeta.url", UrlFileText("R\\HKCU"));
    disk.Write("Bookmarks/Alpha.URL", UrlFileText("R\\HKLM"));
    disk.Write("Bookmarks/beta.url", "");
    disk.Write("Bookmarks/readme.txt", "other software's file");
    disk.Write("Bookmarks/work/b.url", "");
    disk.Write("Bookmarks/Work2/Deep/a.url", "");
    disk.MakeDir("Bookmarks/apps");
    BookmarkTree tree = Load();
    EXPECT_EQ("My Bookmarks[apps[] work[b] Work2[Deep[a]] Alpha beta readme.txt zeta]",
              Outline(tree));
    BookmarkItem& work2 = *Child(tree.root(), "Work2");
    EXPECT_EQ(disk.Path("Bookmarks/Work2/Deep"), Child(work2, "Deep")->path);
    BookmarkItem& a = *Child(*Child(work2, "Deep"), "a.url");
    EXPECT_EQ(disk.Path("Bookmarks/Work2/Deep/a.url"), tree.PathOf(a));
    EXPECT_EQ(Child(work2, "Deep"), &tree.FolderOf(a));
    EXPECT_EQ(&work2, &tree.FolderOf(work2));
    EXPECT_EQ("R\\HKLM", tree.LocationOf(*Child(tree.root(), "Alpha.URL")));
    EXPECT_EQ(std::nullopt, tree.LocationOf(*Child(tree.root(), "readme.txt")));

    disk.Write("Bookmarks/new.url", "");
    tree.Reload();
    EXPECT_EQ("My Bookmarks[apps[] work[b] Work2[Deep[a]] Alpha beta new readme.txt zeta]",
              Outline(tree));
    EXPECT_TRUE(ui.errors.empty());
    BookmarkTree missing = Load("NoSuchFolder");
    EXPECT_EQ("My Bookmarks[]", Outline(missing));
}

TEST_F(BookmarkTreeTest, NewFoldersTakeTheFirstFreeName) {
    disk.MakeDir("Bookmarks/New Folder");
    disk.MakeDir("Bookmarks/New Folder (2)");
    disk.Write("Bookmarks/Sub/x.url", "");
    BookmarkTree tree = Load();
    BookmarkItem* made = tree.CreateFolder(tree.root(), "New Folder");
    ASSERT_NE(nullptr, made);
    EXPECT_EQ("New Folder (3)", made->name);
    EXPECT_TRUE(Exists(fs, disk.Path("Bookmarks/New Folder (3)")));
    // With a bookmark selected, the folder goes beside it.
    BookmarkItem& x = *Child(*Child(tree.root(), "Sub"), "x.url");
    made = tree.CreateFolder(x, "New Folder");
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(disk.Path("Bookmarks/Sub/New Folder"), made->path);
    EXPECT_EQ("My Bookmarks[New Folder[] New Folder (2)[] New Folder (3)[] Sub[New Folder[] x]]",
              Outline(tree));

    fs.failMakeDir[disk.Path("Bookmarks/New Folder (4)")] = kestrix::FileFailure::AccessDenied;
    EXPECT_EQ(nullptr, tree.CreateFolder(tree.root(), "New Folder"));
    ASSERT_EQ(1u, ui.errors.size());
    EXPECT_EQ(0u, ui.errors[0].find("Could not create folder\n\n" +
                                    disk.Path("Bookmarks/New Folder (4)") + "\n\n"));
    EXPECT_EQ(4u, tree.root().children.size());
}

TEST_F(BookmarkTreeTest, TheUsersFolderIsMadeOnFirstUse) {
    BookmarkTree tree = Load("appdata/Velmara/Keywright/Bookmarks", true);
    EXPECT_EQ("My Bookmarks[]", Outline(tree));
    BookmarkItem* item = tree.WriteBookmark(tree.root(), {"R\\HKCU\\Software", ""});
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(UrlFileText("R\\HKCU\\Software"),
              disk.Read("appdata/Velmara/Keywright/Bookmarks/HKCU-Software.url"));
    EXPECT_EQ("My Bookmarks[HKCU-Software]", Outline(tree));
}

TEST_F(BookmarkTreeTest, RenamesFollowTheNameRules) {
    disk.Write("Bookmarks/Old.url", "o");
    disk.Write("Bookmarks/Taken.url", "t");
    disk.Write("Bookmarks/Dir/Inner/i.url", "i");
    BookmarkTree tree = Load();
    BookmarkItem& old = *Child(tree.root(), "Old.url");

    EXPECT_FALSE(tree.Rename(old, "a/b"));
    EXPECT_FALSE(tree.Rename(old, ""));
    ASSERT_EQ(2u, ui.errors.size());
    EXPECT_EQ("The name is empty; you must enter a filename.", ui.errors[1]);
    EXPECT_EQ("A filename cannot contain any of the following characters\n\t\\ / : * ? \" < > |",
              ui.errors[0]);
    EXPECT_EQ("o", disk.Read("Bookmarks/Old.url"));

    ASSERT_TRUE(tree.Rename(old, "Work."));
    EXPECT_EQ("Work.url", old.name);
    EXPECT_EQ("o", disk.Read("Bookmarks/Work.url"));
    EXPECT_EQ("My Bookmarks[Dir[Inner[i]] Taken Work]", Outline(tree));

    EXPECT_FALSE(tree.Rename(old, "Taken")) << "an existing name is never replaced";
    ASSERT_EQ(3u, ui.errors.size());
    EXPECT_EQ(0u, ui.errors[2].find("Could not rename folder\n\n " + disk.Path("Bookmarks/Work.url") +
                                    "\n\nto\n\n" + disk.Path("Bookmarks/Taken.url") + "\n\n"))
        << ui.errors[2];
    EXPECT_EQ("Work.url", old.name);
    EXPECT_EQ("t", disk.Read("Bookmarks/Taken.url"));

    // A folder's new path reaches the folders inside it at once.
    BookmarkItem& dir = *Child(tree.root(), "Dir");
    ASSERT_TRUE(tree.Rename(dir, "A Dir"));
    BookmarkItem& inner = *Child(dir, "Inner");
    EXPECT_EQ(disk.Path("Bookmarks/A Dir/Inner"), inner.path);
    EXPECT_EQ("i", disk.Read("Bookmarks/A Dir/Inner/i.url"));
    EXPECT_EQ("My Bookmarks[A Dir[Inner[i]] Taken Work]", Outline(tree));
    EXPECT_FALSE(tree.Rename(tree.root(), "Other"));
}

TEST_F(BookmarkTreeTest, DeletionsAskForFullFoldersAndGoBottomUp) {
    disk.Write("Bookmarks/b.url", "");
    disk.MakeDir("Bookmarks/Empty");
    disk.Write("Bookmarks/Full/x.url", "");
    disk.Write("Bookmarks/Full/Sub/y.url", "");
    disk.Write("Bookmarks/Full/Sub/Deeper/z.url", "");
    BookmarkTree tree = Load();

    ASSERT_TRUE(tree.Delete(*Child(tree.root(), "b.url")));
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/b.url")));
    ASSERT_TRUE(tree.Delete(*Child(tree.root(), "Empty")));
    EXPECT_TRUE(ui.questions.empty()) << "an empty folder goes without a question";
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/Empty")));

    ui.answer = false;
    EXPECT_FALSE(tree.Delete(*Child(tree.root(), "Full")));
    ASSERT_EQ(1u, ui.questions.size());
    EXPECT_EQ("Are you sure you want to delete this folder and all its contents?", ui.questions[0]);
    EXPECT_TRUE(Exists(fs, disk.Path("Bookmarks/Full/x.url")));

    ui.answer = true;
    fs.failRemoveDir[disk.Path("Bookmarks/Full/Sub")] = kestrix::FileFailure::AccessDenied;
    EXPECT_FALSE(tree.Delete(*Child(tree.root(), "Full")));
    ASSERT_EQ(1u, ui.errors.size());
    EXPECT_EQ(0u, ui.errors[0].find("Could not remove directory " + disk.Path("Bookmarks/Full/Sub") +
                                    "\n\n"));
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/Full/Sub/Deeper"))) << "deepest first";
    EXPECT_TRUE(Exists(fs, disk.Path("Bookmarks/Full"))) << "and stopped there";
    EXPECT_EQ("My Bookmarks[Full[Sub[Deeper[z] y] x]]", Outline(tree));

    fs.failRemoveDir.clear();
    ASSERT_TRUE(tree.Delete(*Child(tree.root(), "Full")));
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/Full")));
    EXPECT_EQ("My Bookmarks[]", Outline(tree));
    EXPECT_FALSE(tree.Delete(tree.root()));

    disk.Write("Bookmarks/locked.url", "");
    tree.Reload();
    fs.failRemove[disk.Path("Bookmarks/locked.url")] = kestrix::FileFailure::Locked;
    EXPECT_FALSE(tree.Delete(*Child(tree.root(), "locked.url")));
    EXPECT_EQ(0u, ui.errors.back().find("Could not delete file " + disk.Path("Bookmarks/locked.url")));
    EXPECT_EQ("My Bookmarks[locked]", Outline(tree));
}

#ifndef _WIN32
// A link in the bookmark folder goes by itself: what it leads to stays.
TEST_F(BookmarkTreeTest, DeletingAFolderNeverFollowsALink) {
    disk.Write("Elsewhere/precious.txt", "keep");
    disk.MakeDir("Bookmarks/Linked");
    ASSERT_EQ(0, ::symlink(disk.Path("Elsewhere").c_str(), disk.Path("Bookmarks/Linked/ref").c_str()));
    // A link back to its own folder ends at the depth limit instead of looping.
    ASSERT_EQ(0, ::symlink(disk.Path("Bookmarks").c_str(), disk.Path("Bookmarks/Linked/loop").c_str()));
    BookmarkTree tree = Load();
    ASSERT_TRUE(tree.Delete(*Child(tree.root(), "Linked")));
    EXPECT_EQ("keep", disk.Read("Elsewhere/precious.txt"));
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/Linked")));
}
#endif

TEST_F(BookmarkTreeTest, WrittenBookmarksAppearOnceAndMoveBetweenFolders) {
    disk.MakeDir("Bookmarks/Work");
    BookmarkTree tree = Load();
    const std::string value = ValueLocation("My Computer\\HKEY_CURRENT_USER\\Env", "Pa:th");
    BookmarkItem* item = tree.WriteBookmark(tree.root(), {value, ""});
    ASSERT_NE(nullptr, item);
    EXPECT_EQ("HKEY_CURRENT_USER-Env-Pa%3Ath.url", item->name);
    EXPECT_EQ(UrlFileText("My Computer\\HKEY_CURRENT_USER\\Env:Pa%3Ath"),
              disk.Read("Bookmarks/HKEY_CURRENT_USER-Env-Pa%3Ath.url"));
    EXPECT_EQ(item, tree.WriteBookmark(tree.root(), {value, ""})) << "the same key twice";
    EXPECT_EQ(2u, tree.root().children.size());

    // A move is a write into the target and a deletion of the source.
    BookmarkItem& work = *Child(tree.root(), "Work");
    BookmarkItem* moved = tree.WriteBookmark(work, {value, item->name});
    ASSERT_NE(nullptr, moved);
    ASSERT_TRUE(tree.Delete(*item));
    EXPECT_EQ("My Bookmarks[Work[HKEY_CURRENT_USER-Env-Pa%3Ath]]", Outline(tree));
    EXPECT_EQ(value, tree.LocationOf(*moved));
    EXPECT_FALSE(Exists(fs, disk.Path("Bookmarks/HKEY_CURRENT_USER-Env-Pa%3Ath.url")));

    fs.failCreate[disk.Path("Bookmarks/Work/X.url")] = kestrix::FileFailure::AccessDenied;
    EXPECT_EQ(nullptr, tree.WriteBookmark(work, {"R\\X", ""}));
    EXPECT_EQ(1u, work.children.size());
    EXPECT_EQ(1u, ui.errors.size());
}

} // namespace
} // namespace keywright
