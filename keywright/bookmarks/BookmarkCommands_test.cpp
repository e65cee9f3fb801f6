// The pane's commands: moving bookmarks by drag and drop (and not moving them when the
// drop stayed in their folder or nobody took it), drops from elsewhere, new folders
// and bookmarks, each with what the view is told.
#include "bookmarks/BookmarkCommands.h"

#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

class RecordingView : public BookmarkPaneView {
public:
    explicit RecordingView(BookmarkTree& tree) : tree_(tree) {}
    void ShowAll() override { events.push_back("all"); }
    void ShowAdded(BookmarkItem& item) override { events.push_back("added " + Name(item)); }
    void ShowOrder(BookmarkItem& folder) override { events.push_back("order " + Name(folder)); }
    void ShowRemoved(BookmarkItem& item) override { events.push_back("removed " + Name(item)); }
    void StartRename(BookmarkItem& item) override { events.push_back("rename " + Name(item)); }
    std::vector<std::string> events;

private:
    std::string Name(const BookmarkItem& item) { return tree_.DisplayText(item); }
    BookmarkTree& tree_;
};

class SilentUi : public BookmarkUi {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool Confirm(const std::string&) override { return true; }
    std::vector<std::string> errors;
};

class BookmarkCommandsTest : public ::testing::Test {
protected:
    BookmarkCommandsTest()
        : fs(kestrix::MakeSystemFileSystem()), tree(*fs, ui, {disk.Path("Bookmarks"), false}),
          view(tree), commands(tree, view) {
        disk.Write("Bookmarks/Run.url", UrlFileText("R\\HKLM\\Run"));
        disk.Write("Bookmarks/Other.url", UrlFileText("R\\HKLM\\Other"));
        disk.Write("Bookmarks/Foreign.url", "[InternetShortcut]\r\nURL=http://example.invalid/\r\n");
        disk.MakeDir("Bookmarks/Work");
        commands.Reload();
        view.events.clear();
    }
    BookmarkItem& Item(const std::string& relative) { return *tree.Find(disk.Path(relative)); }
    bool Exists(const std::string& relative) {
        kestrix::FileStatus status;
        return !fs->GetFileStatus(disk.Path(relative), status);
    }

    kestrix::TempTree disk;
    std::unique_ptr<kestrix::FileSystem> fs;
    SilentUi ui;
    BookmarkTree tree;
    RecordingView view;
    BookmarkCommands commands;
};

TEST_F(BookmarkCommandsTest, ADropInAnotherFolderMovesTheBookmark) {
    std::optional<LocationList> list = commands.BeginDrag(Item("Bookmarks/Run.url"));
    ASSERT_TRUE(list);
    EXPECT_EQ("R\\HKLM\\Run", list->location);
    EXPECT_EQ("Run.url", list->fileName);
    ASSERT_TRUE(commands.Drop(&Item("Bookmarks/Work"), *list));
    commands.EndDrag(true);
    EXPECT_EQ(UrlFileText("R\\HKLM\\Run"), disk.Read("Bookmarks/Work/Run.url"));
    EXPECT_FALSE(Exists("Bookmarks/Run.url"));
    EXPECT_EQ((std::vector<std::string>{"added Run", "removed Run"}), view.events);
    EXPECT_EQ(nullptr, tree.Find(disk.Path("Bookmarks/Run.url")));
}

TEST_F(BookmarkCommandsTest, ABookmarkStaysWhenItsDropDidNotTakeIt) {
    struct Case {
        const char* name;
        const char* dropOn; // null: the drop went to another program
        bool taken;
        bool stays;
    } cases[] = {
        {"dropped back into its own folder", "Bookmarks/Other.url", true, true},
        {"dropped on the top item, its own folder", "", true, true},
        // The receiver refused the drop: nothing was taken, so nothing may be lost.
        {"refused by the receiver", nullptr, false, true},
        {"taken by another program", nullptr, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        disk.Write("Bookmarks/Run.url", UrlFileText("R\\HKLM\\Run"));
        commands.Reload();
        std::optional<LocationList> list = commands.BeginDrag(Item("Bookmarks/Run.url"));
        ASSERT_TRUE(list);
        if (c.dropOn) {
            EXPECT_TRUE(commands.Drop(*c.dropOn ? &Item(c.dropOn) : nullptr, *list));
        }
        commands.EndDrag(c.taken);
        EXPECT_EQ(c.stays, Exists("Bookmarks/Run.url"));
        EXPECT_EQ(c.stays, tree.Find(disk.Path("Bookmarks/Run.url")) != nullptr);
        EXPECT_FALSE(Exists("Bookmarks/Work/Run.url"));
    }
}

TEST_F(BookmarkCommandsTest, OnlyBookmarksWithALocationAreDragged) {
    EXPECT_FALSE(commands.BeginDrag(Item("Bookmarks/Work")));
    EXPECT_FALSE(commands.BeginDrag(tree.root()));
    EXPECT_FALSE(commands.BeginDrag(Item("Bookmarks/Foreign.url")));
    // With no drag of ours under way, an end changes nothing.
    commands.EndDrag(true);
    EXPECT_TRUE(Exists("Bookmarks/Foreign.url"));
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(BookmarkCommandsTest, AReloadDuringTheDragStillMovesTheRightFile) {
    std::optional<LocationList> list = commands.BeginDrag(Item("Bookmarks/Run.url"));
    ASSERT_TRUE(list);
    commands.Reload(); // every item is read anew
    ASSERT_TRUE(commands.Drop(&Item("Bookmarks/Work"), *list));
    commands.EndDrag(true);
    EXPECT_FALSE(Exists("Bookmarks/Run.url"));
    EXPECT_TRUE(Exists("Bookmarks/Work/Run.url"));
    EXPECT_TRUE(Exists("Bookmarks/Other.url"));
}

TEST_F(BookmarkCommandsTest, DropsFromElsewhereGoToTheHighlightedFolder) {
    const LocationList key{"My Computer\\HKEY_CURRENT_USER\\Software", ""};
    ASSERT_TRUE(commands.Drop(&Item("Bookmarks/Other.url"), key));
    EXPECT_TRUE(Exists("Bookmarks/HKEY_CURRENT_USER-Software.url"));
    ASSERT_TRUE(commands.Drop(&Item("Bookmarks/Work"), key));
    EXPECT_EQ(UrlFileText(key.location), disk.Read("Bookmarks/Work/HKEY_CURRENT_USER-Software.url"));
    EXPECT_EQ((std::vector<std::string>{"added HKEY_CURRENT_USER-Software",
                                        "added HKEY_CURRENT_USER-Software"}),
              view.events);
}

TEST_F(BookmarkCommandsTest, NewFoldersAreRenamedAtOnceAndNewBookmarksReload) {
    BookmarkItem* made = commands.CreateFolder(&Item("Bookmarks/Work"), "New Folder");
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(disk.Path("Bookmarks/Work/New Folder"), made->path);
    EXPECT_EQ((std::vector<std::string>{"added New Folder", "rename New Folder"}), view.events);
    EXPECT_FALSE(BookmarkCommands::CanRename(tree.root()));
    EXPECT_FALSE(commands.Rename(tree.root(), "Other"));
    ASSERT_TRUE(commands.Rename(*made, "Apps"));
    EXPECT_EQ("order Work", view.events.back());

    view.events.clear();
    ASSERT_TRUE(commands.CreateBookmark({"My Computer\\HKEY_USERS\\.DEFAULT", ""}));
    EXPECT_TRUE(Exists("Bookmarks/HKEY_USERS-.DEFAULT.url"));
    EXPECT_EQ(std::vector<std::string>{"all"}, view.events);
    EXPECT_TRUE(commands.Delete(&Item("Bookmarks/Work")));
    EXPECT_FALSE(commands.Delete(nullptr));
    EXPECT_EQ("removed Work", view.events.back());
}

} // namespace
} // namespace keywright
