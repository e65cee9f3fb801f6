// The pane's tree view control against real folders: the items shown in their order
// with texts from their records, items added, resorted and removed as the disk changes.
#include "bookmarks/win32/BookmarkTreeView.h"

#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

class NoQuestions : public BookmarkUi {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool Confirm(const std::string&) override { return true; }
    std::vector<std::string> errors;
};

BookmarkTreeView* shownView = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && shownView &&
        reinterpret_cast<NMHDR*>(lParam)->code == TVN_GETDISPINFOW) {
        shownView->FillDisplayInfo(*reinterpret_cast<NMTVDISPINFOW*>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class BookmarkTreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        // A window of the wide-character API, as the pane is.
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"BookmarkTreeViewTestParent";
        RegisterClassW(&windowClass);
        parent = CreateWindowW(L"BookmarkTreeViewTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                               400, nullptr, nullptr, windowClass.hInstance, nullptr);
        tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS |
                               TVS_HASLINES | TVS_LINESATROOT, 0, 0, 300, 400, parent, nullptr,
                               windowClass.hInstance, nullptr);
        ASSERT_TRUE(tree);
    }
    void TearDown() override {
        shownView = nullptr;
        DestroyWindow(parent);
    }

    // The shown texts in tree order, each indented by its depth.
    std::string Shown() {
        std::string text;
        Walk(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0,
             text);
        return text;
    }
    void Walk(HTREEITEM item, int depth, std::string& text) {
        for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(
                         tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
            char buffer[260] = {};
            TVITEMA data{};
            data.mask = TVIF_TEXT;
            data.hItem = item;
            data.pszText = buffer;
            data.cchTextMax = sizeof buffer;
            SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
            text += std::string(static_cast<std::size_t>(depth), ' ') + buffer + "\n";
            Walk(reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                          reinterpret_cast<LPARAM>(item))),
                 depth + 1, text);
        }
    }

    kestrix::TempTree disk;
    HWND parent = nullptr;
    HWND tree = nullptr;
};

TEST_F(BookmarkTreeViewTest, ShowsTheItemsAndFollowsTheirChanges) {
    disk.Write("Bookmarks/b.url", "");
    disk.Write("Bookmarks/A.url", "");
    disk.Write("Bookmarks/Work/w.url", "");
    auto fs = kestrix::MakeSystemFileSystem();
    NoQuestions ui;
    BookmarkTree items(*fs, ui, {disk.Path("Bookmarks"), false});
    items.Reload();
    BookmarkTreeView view(tree, items);
    shownView = &view;
    view.Rebuild();
    EXPECT_EQ("My Bookmarks\n Work\n  w\n A\n b\n", Shown());

    BookmarkItem* added = items.WriteBookmark(items.root(), {"R\\HKCU\\Ab", ""});
    ASSERT_NE(nullptr, added);
    ASSERT_TRUE(view.Add(*added));
    EXPECT_EQ("My Bookmarks\n Work\n  w\n A\n b\n HKCU-Ab\n", Shown());
    BookmarkItem* folder = items.CreateFolder(items.root(), "New Folder");
    ASSERT_NE(nullptr, folder);
    view.Add(*folder);
    EXPECT_EQ("My Bookmarks\n New Folder\n Work\n  w\n A\n b\n HKCU-Ab\n", Shown());

    view.Select(*added);
    EXPECT_EQ(added, view.Selected());
    ASSERT_TRUE(items.Rename(*added, "aa"));
    view.Sort(items.root());
    EXPECT_EQ("My Bookmarks\n New Folder\n Work\n  w\n A\n aa\n b\n", Shown());

    BookmarkItem& work = *items.root().children[1];
    HTREEITEM workHandle = view.HandleOf(work);
    ASSERT_TRUE(items.Delete(work, [&](BookmarkItem& item) { view.Remove(item); }));
    EXPECT_EQ("My Bookmarks\n New Folder\n A\n aa\n b\n", Shown());
    EXPECT_EQ(nullptr, view.ItemOf(workHandle));
    BookmarkItem* again = items.WriteBookmark(items.root(), {"R\\aa", "aa.url"});
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(view.HandleOf(*again), view.Add(*again)) << "a replaced file keeps its item";
    EXPECT_EQ("My Bookmarks\n New Folder\n A\n aa\n b\n", Shown());
    EXPECT_EQ(&items.root(), view.ItemOf(view.HandleOf(items.root())));
    EXPECT_TRUE(ui.errors.empty());
}

} // namespace
} // namespace keywright
