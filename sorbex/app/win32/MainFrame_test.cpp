// Tests under Wine of the real main window, created in this process and driven with
// messages: searches fill pages, steps walk them, pages are renamed, shifted and
// deleted, replacements are answered through the dialogs' seam, documents are saved
// and opened again, and the profile keeps what the window was.
#include "app/win32/MainFrame.h"

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/win32/FrameHarness.h"
#include "app/win32/MainFrameIds.h"
#include "app/win32/SearchDefinitionPageIds.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/UiTesting.h"

namespace sorbex {
namespace {

class MainFrameTest : public ::testing::Test, protected CFrameHarness {
protected:
    MainFrameTest() {
        tree.Write("Alpha.txt", "The grey cat sat.\nA grey dog ran.\n");
        tree.Write("Beta.txt", "Blue sky over grey roofs.\n");
        tree.Write("Gamma.txt", "nothing to see\n");
        OpenFrame();
    }

    void OpenFrame() {
        frame_ = std::make_unique<CMainFrame>(context);
        ASSERT_NE(nullptr, frame_->Open(SW_SHOWNORMAL, ""));
    }

    LRESULT Command(WORD id) { return SendFrameCommand(*frame_, id); }

    // A search from the "Search" page over the tree, to its end.
    // The property bar's tab control stands inside the bar once a fold has ended.
    void ExpectTabsFitBar() {
        auto fits = [&] {
            RECT client{};
            GetClientRect(frame_->propertyBar().hwnd(), &client);
            const RECT tabs = frame_->propertyBar().TabsRect();
            return tabs.bottom <= client.bottom && tabs.bottom > client.bottom - kFoldedBarHeight;
        };
        EXPECT_TRUE(kestrix::ui::testing::PumpUntil(frame_->loop(), fits));
    }

    void Search(const std::string& expression, const std::string& mask = "*.txt") {
        RunFrameSearch(*frame_, tree.root(), expression, mask);
    }

    std::wstring PageText() {
        CRichEditSurface& surface = frame_->tabView().surface();
        return surface.TextRange(0, surface.Length());
    }

    CFileFindDoc& Current() { return *frame_->document().CurrentPage(); }

    int TabCount() {
        return static_cast<int>(SendMessageW(frame_->tabView().pageRow(), TCM_GETITEMCOUNT, 0, 0));
    }

    CHARRANGE Selection() {
        CHARRANGE range{};
        SendMessageW(frame_->tabView().resultView(), EM_EXGETSEL, 0,
                     reinterpret_cast<LPARAM>(&range));
        return range;
    }

    // Every result's stored position names its passage in the control's text.
    void ExpectPositionsOnPassages() {
        const CFileFindDoc& page = Current();
        CRichEditSurface& surface = frame_->tabView().surface();
        for (std::size_t i = 0; i < page.results.size(); ++i) {
            const CSearchResult& r = page.results[i];
            SCOPED_TRACE(r.name + " #" + std::to_string(i));
            const std::string passage =
                r.excerpt.substr(r.excerptStart, r.excerptEnd - r.excerptStart);
            const auto at = static_cast<std::size_t>(r.viewPosition - 1);
            EXPECT_EQ(Wide(passage), surface.TextRange(at, at + passage.size()));
        }
    }

    bool Contains(const std::wstring& text, const char* part) {
        return text.find(Wide(part)) != std::wstring::npos;
    }

    std::string Stored(const char* section, const char* key) {
        std::string value;
        return store.Read(section, key, value) ? value : "<missing>";
    }

    // `upper` comes before `lower` among the frame's children, from the top.
    bool Above(HWND upper, HWND lower) {
        for (HWND w = GetWindow(frame_->hwnd(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == upper)
                return true;
            if (w == lower)
                return false;
        }
        return false;
    }

    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameTest, ASearchFillsAPageThatTheStepsWalk) {
    Search("grey");
    const std::wstring text = PageText();
    EXPECT_TRUE(Contains(text, "Search Expression\tgrey\t")) << Narrow(text);
    EXPECT_TRUE(Contains(text, "Passages found\t3\tFiles found / total\t2 / 3\t"));
    EXPECT_TRUE(Contains(text, "Searching terminated normally ("));
    ASSERT_EQ(3u, Current().results.size());
    ExpectPositionsOnPassages();
    EXPECT_EQ(2, TabCount()) << "the new page and the first one";
    EXPECT_EQ("grey", Current().caption);
    EXPECT_EQ("Ready", frame_->StatusText());
    EXPECT_EQ(L"Search Results - Sorbex", kestrix::ui::WindowText(frame_->hwnd()));

    // F8, F6, F8, F7 and a step that is not possible.
    const struct {
        WORD command;
        int current;
    } steps[] = {{ID_NEXT_FILE, 0}, {ID_NEXT_RESULT, 1},   {ID_NEXT_FILE, 2},
                 {ID_NEXT_FILE, 2}, {ID_PREVIOUS_FILE, 0}, {ID_PREVIOUS_RESULT, 0}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command);
        Command(step.command);
        EXPECT_EQ(step.current, Current().current);
        const CHARRANGE selected = Selection();
        EXPECT_EQ(Current().results[step.current].viewPosition - 1, selected.cpMin);
        EXPECT_EQ(selected.cpMin + 4, selected.cpMax) << "the passage is selected";
    }
    // A click on a result line makes that result current.
    const CSearchResult& third = Current().results[2];
    SendMessageW(frame_->tabView().resultView(), EM_SETSEL, third.viewPosition + 1,
                 third.viewPosition + 1);
    EXPECT_EQ(2, Current().current);

    // The bar folded to its strip while the run went on.
    kestrix::ui::testing::PumpUntil(
        frame_->loop(), [&] { return frame_->propertyBarHeight() == kFoldedBarHeight; });
    EXPECT_EQ(kFoldedBarHeight, frame_->propertyBarHeight());
    // The end of the fold lays its tab control out for the strip.
    ExpectTabsFitBar();

    Search("grey");
    EXPECT_EQ(2, TabCount()) << "the same search reuses its page";

    // Nothing found: the closing line says so and the bar unfolds again.
    Search("zebra");
    EXPECT_TRUE(Contains(PageText(), "There were no passages found, which match the given "
                                     "search expression."));
    EXPECT_TRUE(kestrix::ui::testing::PumpUntil(
        frame_->loop(), [&] { return frame_->propertyBarHeight() > kFoldedBarHeight * 4; }));
    ExpectTabsFitBar();
    EXPECT_GT(frame_->propertyBar().TabsRect().bottom, kFoldedBarHeight * 4)
        << "the tab control grew with the unfolded bar";
    EXPECT_TRUE(dialogs.errors.empty());
}

// Each new size of the page's text costs the control a layout of all of it: a fold
// gives the text its final height once, at the fold's start or at its end, never a
// passing size on the way.
LRESULT CALLBACK LogSizes(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                          DWORD_PTR data) {
    if (message == WM_SIZE) {
        auto& sizes = *reinterpret_cast<std::vector<std::pair<int, int>>*>(data);
        const std::pair<int, int> size{LOWORD(lParam), HIWORD(lParam)};
        if (sizes.empty() || sizes.back() != size)
            sizes.push_back(size);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST_F(MainFrameTest, AFoldSlidesTheViewOverTheBarAndSizesThePagesTextOnce) {
    const HWND view = frame_->tabView().resultView();
    const HWND bar = frame_->propertyBar().hwnd();
    const HWND page = frame_->propertyBar().searchPage().hwnd();
    std::vector<std::pair<int, int>> sizes;
    ASSERT_TRUE(SetWindowSubclass(view, LogSizes, 1, reinterpret_cast<DWORD_PTR>(&sizes)));
    auto barWindowHeight = [&] {
        RECT rect{};
        GetWindowRect(bar, &rect);
        return static_cast<int>(rect.bottom - rect.top);
    };
    const int openHeight = frame_->propertyBarHeight();
    ASSERT_GT(openHeight, kFoldedBarHeight * 4);
    const struct {
        const char* name;
        std::string expression;
        int endHeight;
    } folds[] = {
        {"folding", "grey", kFoldedBarHeight},
        {"unfolding", "zebra", openHeight},
    };
    for (const auto& fold : folds) {
        SCOPED_TRACE(fold.name);
        sizes.clear();
        Search(fold.expression);
        // The run is over long before the fold: the bar's window stands at the fold's
        // taller end with its page shown, and the tab view slides over it.
        ASSERT_TRUE(frame_->folding());
        EXPECT_EQ(openHeight, barWindowHeight());
        EXPECT_TRUE(IsWindowVisible(page));
        EXPECT_TRUE(Above(frame_->tabView().hwnd(), bar));
        EXPECT_NE(0, GetWindowLongPtrW(bar, GWL_STYLE) & WS_CLIPSIBLINGS);
        ASSERT_TRUE(
            kestrix::ui::testing::PumpUntil(frame_->loop(), [&] { return !frame_->folding(); }));
        EXPECT_EQ(fold.endHeight, frame_->propertyBarHeight());
        EXPECT_EQ(fold.endHeight, barWindowHeight());
        EXPECT_EQ(fold.endHeight == openHeight, IsWindowVisible(page) != FALSE)
            << "folded, the bar shows its tabs alone";
        ExpectTabsFitBar();
        RECT client{};
        GetClientRect(view, &client);
        ASSERT_EQ(1u, sizes.size());
        EXPECT_EQ(client.right, sizes[0].first);
        EXPECT_EQ(client.bottom, sizes[0].second);
    }
    RemoveWindowSubclass(view, LogSizes, 1);
}

TEST_F(MainFrameTest, ARunsPageIsStoredWhenIdleOrBeforeTheDocumentIsUsed) {
    auto select = [&](std::size_t index) {
        SendMessageW(frame_->tabView().pageRow(), TCM_SETCURSEL, index, 0);
        NMHDR change{frame_->tabView().pageRow(), 0, TCN_SELCHANGE};
        SendMessageW(frame_->tabView().hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    };
    Search("grey");
    EXPECT_TRUE(kestrix::ui::testing::PumpUntil(frame_->loop(),
                                                [&] { return !Current().streamName.empty(); }))
        << "the window's first idle moment stores the page";
    EXPECT_TRUE(frame_->document().modified());

    // Another page chosen straight after a run: the run's page is stored first, so
    // that it comes back whole.
    Search("cat");
    ASSERT_EQ("cat", frame_->document()[0].caption);
    select(1);
    EXPECT_EQ("grey", Current().caption);
    EXPECT_EQ(3u, Current().results.size());
    select(0);
    EXPECT_EQ("cat", Current().caption);
    EXPECT_EQ(1u, Current().results.size());
    EXPECT_TRUE(Contains(PageText(), "The grey 1cat sat."));
}

TEST_F(MainFrameTest, PagesAreListedRenamedShiftedAndDeleted) {
    Search("");
    EXPECT_EQ("*.txt", Current().caption) << "a listing is named after its mask";
    EXPECT_TRUE(Contains(PageText(), "Files found / total\t3 / 3\t"));
    EXPECT_FALSE(Contains(PageText(), "Passages found"));
    ExpectPositionsOnPassages();
    Search("cat");
    Search("dog");
    ASSERT_EQ(4, TabCount());
    EXPECT_EQ("dog", frame_->document()[0].caption);

    Command(ID_SHIFT_PAGE_RIGHT);
    EXPECT_EQ("cat", frame_->document()[0].caption);
    EXPECT_EQ(1u, frame_->document().currentIndex());

    Command(ID_RENAME_PAGE);
    const HWND field = frame_->tabView().renameField();
    ASSERT_NE(nullptr, field);
    SetWindowTextW(field, L"Dogs");
    SendMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(nullptr, frame_->tabView().renameField());
    EXPECT_EQ("Dogs", frame_->document()[1].caption);
    EXPECT_TRUE(frame_->document().modified());

    // Showing another page reads it from the result file and draws it.
    SendMessageW(frame_->tabView().pageRow(), TCM_SETCURSEL, 2, 0);
    NMHDR change{frame_->tabView().pageRow(), 0, TCN_SELCHANGE};
    SendMessageW(frame_->tabView().hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(2u, frame_->document().currentIndex());
    EXPECT_TRUE(Contains(PageText(), "Alpha.txt"));
    // The row is left alone when it shows the pages as they are, but not when another
    // tab stands selected there with the same captions.
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < frame_->document().size(); ++i)
        captions.push_back(frame_->document()[i].caption);
    SendMessageW(frame_->tabView().pageRow(), TCM_SETCURSEL, 0, 0);
    frame_->tabView().ShowPages(captions, 2);
    EXPECT_EQ(2, SendMessageW(frame_->tabView().pageRow(), TCM_GETCURSEL, 0, 0));

    for (int i = 0; i < 5; ++i)
        Command(ID_DELETE_PAGE);
    EXPECT_EQ(1, TabCount()) << "the last page stays";
    EXPECT_FALSE(frame_->enabled(CCommand::DeletePage));
}

TEST_F(MainFrameTest, ReplacementsAreAnsweredThroughTheSeam) {
    tree.Write("Alpha.txt", "grey cat, grey dog\n");
    tree.Write("Beta.txt", "grey\n");
    frame_->propertyBar().ActivatePage(CDefinitionPageKind::Replace);
    frame_->propertyBar().replacePage().SetValues({"blue", 0});
    dialogs.confirmations = {
        {CReplaceAnswer::Yes, false}, {CReplaceAnswer::No, false}, {CReplaceAnswer::Yes, true}};
    Search("grey");
    EXPECT_EQ(1, dialogs.warnings);
    EXPECT_EQ("0", Stored("Options", "NoReplaceWarning"));
    EXPECT_EQ(3u, dialogs.questions.size()) << "Replace All answers the rest";
    EXPECT_EQ("Do you want to replace \"grey\" with \"blue\"?", dialogs.questions[0]);
    EXPECT_EQ("blue cat, grey dog\n", tree.Read("Alpha.txt"));
    EXPECT_EQ("blue\n", tree.Read("Beta.txt"));
    EXPECT_TRUE(frame_->document().CurrentPage()->request.replaceMode);

    // Stepping onto the passage not replaced starts a walk there.
    dialogs.confirmations = {{CReplaceAnswer::Yes, false}};
    Command(ID_PREVIOUS_RESULT);
    EXPECT_EQ("blue cat, blue dog\n", tree.Read("Alpha.txt"));
    // The replaced marks are kept with the page's results in the file.
    const std::size_t index = frame_->document().currentIndex();
    ASSERT_TRUE(frame_->document().ShowPage(index));
    for (std::size_t i = 0; i < Current().results.size(); ++i)
        EXPECT_EQ(kResultReplaced, Current().results[i].flags & kResultReplaced) << i;
}

TEST_F(MainFrameTest, KeysTypedInTheExpressionFieldReachTheFrame) {
    Search("grey");
    ASSERT_EQ(3u, Current().results.size());
    Command(ID_NEXT_FILE);
    ASSERT_EQ(0, Current().current);
    const HWND combo = GetDlgItem(frame_->propertyBar().searchPage().hwnd(), IDC_EXPRESSION);
    const HWND field = FindWindowExW(combo, nullptr, WC_EDITW, nullptr);
    ASSERT_NE(nullptr, field);
    // What the loop does with a key typed into a window; the bar's dialog manager takes
    // (and dispatches) whatever the frame leaves, so only the effect tells.
    const auto key = [&](HWND target, UINT message, WPARAM virtualKey) {
        MSG m{target, message, virtualKey, 0, 0, {}};
        if (!frame_->loop().PreTranslate(m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    key(field, WM_KEYDOWN, VK_F6);
    EXPECT_EQ(1, Current().current) << "F6 in the field steps to the next result";

    // Ctrl+Del deletes in the field; on the result page it deletes the page.
    BYTE keys[256] = {};
    ASSERT_TRUE(GetKeyboardState(keys));
    keys[VK_CONTROL] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    const int pages = TabCount();
    key(field, WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(pages, TabCount());
    key(frame_->tabView().resultView(), WM_KEYDOWN, VK_DELETE);
    EXPECT_EQ(pages - 1, TabCount()) << "the same key reaches the frame outside a field";
    keys[VK_CONTROL] = 0;
    ASSERT_TRUE(SetKeyboardState(keys));

    // F10 arrives as a system key; typed in the field it starts the search.
    SetFrameSearch(*frame_, tree.root(), "sky", "*.txt");
    key(field, WM_SYSKEYDOWN, VK_F10);
    EXPECT_TRUE(kestrix::ui::testing::PumpUntil(frame_->loop(), [&] {
        return frame_->document().CurrentPage() && Current().caption == "sky" &&
               Current().results.size() == 1;
    }));
    // Esc in the field while nothing runs ends nothing: the page and its field stay.
    key(field, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(IsWindow(frame_->propertyBar().searchPage().hwnd()));
    EXPECT_TRUE(IsWindow(field));
}

// Enough files that a run lasts many turns of its message pump.
constexpr int kLongRunFiles = 1000;

TEST_F(MainFrameTest, EscapeAndClosingDuringARunCancelIt) {
    for (int i = 0; i < kLongRunFiles; ++i)
        tree.Write("many/" + std::to_string(i) + ".txt", "a grey line\n");
    const std::size_t all = kLongRunFiles + 2;
    // Esc waits in the queue; the run's pump finds it.
    PostMessageW(frame_->tabView().resultView(), WM_KEYDOWN, VK_ESCAPE, 0);
    Search("grey");
    EXPECT_TRUE(Contains(PageText(), "SEARCHING CANCELED (")) << "the closing line says so";
    EXPECT_LT(Current().results.size(), all);
    EXPECT_EQ("Ready", frame_->StatusText());

    // Closing during a run cancels it, and the window closes once the run has ended,
    // asking about the changed document as a close always does.
    PostMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
    dialogs.saveAnswers = {CSaveAnswer::No};
    Search("line");
    EXPECT_TRUE(kestrix::ui::testing::PumpUntil(frame_->loop(),
                                                [&] { return frame_->hwnd() == nullptr; }));
    ASSERT_EQ(1u, dialogs.questions.size());
    EXPECT_EQ("line", Stored("SearchDialog", "SearchExpression1")) << "the pages were kept";
}

TEST_F(MainFrameTest, DocumentsAreSavedOpenedAndTheProfileKeepsTheWindow) {
    Search("grey");
    Search("cat");
    const std::string path = tree.Path("results.sbx");
    dialogs.chosenFiles = {path};
    Command(ID_FILE_SAVE);
    EXPECT_EQ(L"results.sbx - Sorbex", kestrix::ui::WindowText(frame_->hwnd()));
    EXPECT_EQ(path, Stored("Recent File List", "File1"));

    Command(ID_FILE_NEW);
    EXPECT_EQ(1, TabCount());
    EXPECT_TRUE(dialogs.questions.empty()) << "a saved document goes without a question";
    Command(ID_FILE_MRU_FILE1);
    ASSERT_EQ(3, TabCount());
    EXPECT_EQ("cat", frame_->document()[0].caption);
    EXPECT_EQ("grey", frame_->document()[1].caption);
    EXPECT_TRUE(Contains(PageText(), "The grey 1cat sat.")) << "the index stands before the match";
    EXPECT_EQ(1u, Current().results.size());

    Search("dog");
    Command(ID_VIEW_TOOLBAR);
    const auto toolbarShown = [&] {
        return (GetWindowLongW(GetDlgItem(frame_->hwnd(), IDC_TOOLBAR), GWL_STYLE) & WS_VISIBLE) != 0;
    };
    ASSERT_FALSE(toolbarShown());
    dialogs.saveAnswers = {CSaveAnswer::Cancel};
    SendMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(IsWindow(frame_->hwnd())) << "cancelled: the window stays";
    dialogs.saveAnswers = {CSaveAnswer::No};
    SendMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(nullptr, frame_->hwnd());
    EXPECT_EQ(2u, dialogs.questions.size());
    EXPECT_EQ("Save changes to results.sbx?", dialogs.questions[0]);
    EXPECT_NE("<missing>", Stored("Settings", "MainWindowPlacement"));
    EXPECT_EQ("dog", Stored("SearchDialog", "SearchExpression1"));
    EXPECT_EQ("cat", Stored("SearchDialog", "SearchExpression2"));
    EXPECT_EQ(tree.root(), Stored("SearchDialog", "Directory1"));
    EXPECT_EQ("0.380000", Stored("StdBarState1", "SearchReplaceSplitFactor"));

    // The next start comes back where the window was, with the last document.
    OpenFrame();
    EXPECT_EQ(L"results.sbx - Sorbex", kestrix::ui::WindowText(frame_->hwnd()));
    EXPECT_EQ(3, TabCount()) << "the unsaved page was not kept";
    EXPECT_FALSE(toolbarShown()) << "the toolbar stays hidden as it was at closing";
    EXPECT_NE(nullptr, GetDlgItem(frame_->hwnd(), IDC_STATUS_BAR));
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(frame_->hwnd(), IDC_STATUS_BAR), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(Wide(tree.root()), kestrix::ui::WindowText(GetDlgItem(
                                     frame_->propertyBar().searchPage().hwnd(), IDC_DIRECTORY)));
    SendMessageW(frame_->hwnd(), WM_CLOSE, 0, 0);
}

} // namespace
} // namespace sorbex
