// The bookmark pane as the add-in creates it, driven by its messages: its tree and
// items, new folders named by a label edit, focus, deletion and new bookmarks.
#include "bookmarks/win32/BookmarkPane.h"

#include "bookmarks/win32/BookmarkPaneIds.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/DataTransfer.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <ole2.h>

namespace keywright {
namespace {

class BookmarkPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        frame = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                400, 400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(frame);
        disk.Write("Bookmarks/Run.url", "[InternetShortcut]\r\nURL=reg:R\\HKLM\\Run\r\n");
        disk.MakeDir("Bookmarks/Work");
        fs = kestrix::MakeSystemFileSystem();
        BookmarkPaneContext context;
        context.instance = GetModuleHandleW(nullptr);
        context.frame = frame;
        context.folder = {disk.Path("Bookmarks"), false};
        context.transfer.oleInitialized = true;
        context.transfer.privateFormat = RegisterClipboardFormatW(kClipboardFormatName);
        context.transfer.fs = fs.get();
        context.transfer.temporaryFiles = &temporaryFiles;
        context.transfer.temporaryFolder = disk.root();
        context.tookFocus = [this] { ++focusTaken; };
        context.enableAccelerators = [this](bool enabled) { accelerators = enabled; };
        pane = std::make_unique<BookmarkPane>(std::move(context));
        ASSERT_TRUE(pane->Create());
    }
    void TearDown() override {
        pane.reset();
        DestroyWindow(frame);
        OleUninitialize();
    }

    HWND tree() { return pane->tree(); }
    int ItemCount() { return static_cast<int>(SendMessageW(tree(), TVM_GETCOUNT, 0, 0)); }
    std::wstring TextOf(HTREEITEM item) {
        wchar_t buffer[260] = {};
        TVITEMW data{};
        data.mask = TVIF_TEXT;
        data.hItem = item;
        data.pszText = buffer;
        data.cchTextMax = 260;
        SendMessageW(tree(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
        return buffer;
    }
    HTREEITEM Next(UINT relation, HTREEITEM item = nullptr) {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(tree(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    }
    bool Exists(const std::string& relative) {
        kestrix::FileStatus status;
        return !fs->GetFileStatus(disk.Path(relative), status);
    }

    kestrix::TempTree disk;
    std::unique_ptr<kestrix::FileSystem> fs;
    TemporaryFiles temporaryFiles;
    HWND frame = nullptr;
    std::unique_ptr<BookmarkPane> pane;
    int focusTaken = 0;
    bool accelerators = true;
};

TEST_F(BookmarkPaneTest, ShowsTheFolderInItsTree) {
    wchar_t name[64] = {};
    GetClassNameW(pane->hwnd(), name, 64);
    EXPECT_STREQ(L"Velmara-Sheet-Wnd", name);
    EXPECT_EQ(KW_IDC_BOOKMARK_TREE, GetDlgCtrlID(tree()));
    EXPECT_EQ(3, ItemCount());
    HTREEITEM root = Next(TVGN_ROOT);
    EXPECT_EQ(L"My Bookmarks", TextOf(root));
    HTREEITEM first = Next(TVGN_CHILD, root);
    EXPECT_EQ(L"Work", TextOf(first));
    EXPECT_EQ(L"Run", TextOf(Next(TVGN_NEXT, first)));
    EXPECT_TRUE(SendMessageW(tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)) << "bitmap 205";
    EXPECT_EQ(nullptr, reinterpret_cast<HWND>(SendMessageW(tree(), TVM_EDITLABELW, 0,
                                                           reinterpret_cast<LPARAM>(root))))
        << "the top item is never renamed";
}

TEST_F(BookmarkPaneTest, NewFoldersAreNamedByEditingTheirLabel) {
    SendMessageW(pane->hwnd(), kMsgBookmarkFocus, 0, 0);
    EXPECT_EQ(1, SendMessageW(pane->hwnd(), kMsgBookmarkHasFocus, 0, 0));
    EXPECT_GT(focusTaken, 0);
    SendMessageW(pane->hwnd(), kMsgBookmarkNewFolder, 0, 0);
    EXPECT_TRUE(Exists("Bookmarks/New Folder"));
    auto edit = reinterpret_cast<HWND>(SendMessageW(tree(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_TRUE(edit) << "the new folder's label is being edited";
    EXPECT_FALSE(accelerators) << "the add-in's keys are off while a label is edited";
    SetWindowTextW(edit, L"Projects");
    SendMessageW(tree(), TVM_ENDEDITLABELNOW, FALSE, 0);
    EXPECT_TRUE(accelerators);
    EXPECT_TRUE(Exists("Bookmarks/Projects"));
    EXPECT_FALSE(Exists("Bookmarks/New Folder"));
    HTREEITEM root = Next(TVGN_ROOT);
    EXPECT_EQ(L"Projects", TextOf(Next(TVGN_CHILD, root)));

    // The selected folder is the new one; an empty folder goes without a question.
    EXPECT_EQ(L"Projects", TextOf(Next(TVGN_CARET)));
    EXPECT_EQ(1, SendMessageW(pane->hwnd(), kMsgBookmarkDelete, 0, 0));
    EXPECT_FALSE(Exists("Bookmarks/Projects"));
    EXPECT_EQ(3, ItemCount());
}

TEST_F(BookmarkPaneTest, NewBookmarksAndReloadsShowTheDisk) {
    ASSERT_TRUE(pane->CreateBookmark({"My Computer\\HKEY_CURRENT_USER\\Software", ""}));
    EXPECT_TRUE(Exists("Bookmarks/HKEY_CURRENT_USER-Software.url"));
    EXPECT_EQ(4, ItemCount());
    disk.Write("Bookmarks/Work/Inner.url", "");
    SendMessageW(pane->hwnd(), kMsgBookmarkReload, 0, 0);
    EXPECT_EQ(5, ItemCount());
    EXPECT_EQ(0, SendMessageW(pane->hwnd(), kMsgBookmarkRename, 0, 0))
        << "no label edit while the tree does not have the focus";
}

} // namespace
} // namespace keywright
