// The main window: its bars, the layout with the splitter and the property bar's fold,
// its placement, and closing. Commands and the user-interface seams are in
// MainFrameCommands.cpp and MainFrameRun.cpp.
#include "app/win32/MainFrame.h"

#include <commctrl.h>
#include <algorithm>
#include <shellapi.h>

#include "app/win32/MainFrameIds.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/WideText.h"
#include "app/win32/WindowPlacement.h"
#include "search/SearchWorkers.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr wchar_t kFrameClass[] = L"SorbexMainFrame";
constexpr UINT_PTR kFoldTimer = 1;
// A frame of the fold costs about 15 ms under Wine: ticks 30 ms apart leave the run
// half of the thread while the fold goes on, and still move the bar smoothly.
constexpr UINT kFoldTimerMs = 30;
// While a run shares the thread, a frame of the fold is drawn as often as the run's
// status: the fold keeps its time and height, the run loses less of the thread.
constexpr std::uint32_t kFoldFrameSpacingInRunMs = kRunDisplayMs;
// Feeds a page's waiting text into its control while the window is idle: a timer's
// ticks come only when no input waits, so a reader is never held up by it.
constexpr UINT_PTR kBacklogTimer = 2;
constexpr UINT kBacklogTimerMs = 10;
constexpr int kSplitterHeight = 5;

struct ToolbarButton {
    int image; // -1: a separator
    int command;
};
constexpr ToolbarButton kToolbarButtons[] = {
    {TOOLBAR_IMAGE_NEW, ID_FILE_NEW},
    {TOOLBAR_IMAGE_OPEN, ID_FILE_OPEN},
    {TOOLBAR_IMAGE_SAVE, ID_FILE_SAVE},
    {-1, 0},
    {TOOLBAR_IMAGE_START, ID_START_SEARCHING},
    {TOOLBAR_IMAGE_STOP, ID_CANCEL_SEARCHING},
    {-1, 0},
    {TOOLBAR_IMAGE_PREVIOUS_RESULT, ID_PREVIOUS_RESULT},
    {TOOLBAR_IMAGE_NEXT_RESULT, ID_NEXT_RESULT},
    {TOOLBAR_IMAGE_PREVIOUS_FILE, ID_PREVIOUS_FILE},
    {TOOLBAR_IMAGE_NEXT_FILE, ID_NEXT_FILE},
    {TOOLBAR_IMAGE_OPEN_APPLICATION, ID_OPEN_REGISTERED},
    {-1, 0},
    {TOOLBAR_IMAGE_OPTIONS, ID_OPTIONS},
};

int HeightOf(HWND window) {
    if (!window || !IsWindowVisible(window))
        return 0;
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

// Adds `window`'s move to `batch`, unless it stands there already: a frame of the fold
// that leaves a child where it is costs that child nothing. Null `batch` (no room for a
// batch) moves the window on its own.
HDWP DeferMove(HDWP batch, HWND window, const CRect& to) {
    if (ChildStandsAt(window, to.left, to.top, to.width(), to.height()))
        return batch;
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    if (!batch) {
        SetWindowPos(window, nullptr, to.left, to.top, to.width(), to.height(), flags);
        return batch;
    }
    return DeferWindowPos(batch, window, nullptr, to.left, to.top, to.width(), to.height(),
                          flags);
}

} // namespace

CMainFrame::CMainFrame(const CFrameContext& context)
    : context_(context),
      ownDialogs_(context.dialogs ? nullptr
                                  : std::make_unique<CWindowDialogs>(context.instance, nullptr)),
      dialogs_(context.dialogs ? *context.dialogs : *ownDialogs_), settings_(*context.profile),
      preview_(context.instance, settings_), document_(*context.fs, *context.files), tabView_(*this), view_(tabView_.surface()),
      viewer_(&pageOnlyViewer_), pages_(document_, view_, pageOnlyViewer_, *context.fs, settings_),
      documentCommands_(document_, pages_, recent_, *context.profile, *this, *this),
      run_(*context.fs, *context.clock, *this, document_), propertyBar_(definitions_, *this),
      loop_(&modeless_) {
    if (context_.cache && context_.cache->IsOpen())
        run_.loader().SetCache(context_.cache);
    if (context_.converters)
        run_.loader().SetConverters(context_.converters);
    // Files are read and evaluated on several threads; the page gets its results in
    // the order one thread gives.
    run_.SetSearchThreads(DefaultSearchThreads());
    run_.startReplacement = [this](CFileFindDoc& page, std::size_t start) {
        Walk(page, start, true);
    };
    definitions_.Load(settings_);
    view_.backlogWaiting = [this] {
        if (hwnd())
            SetTimer(hwnd(), kBacklogTimer, kBacklogTimerMs, nullptr);
    };
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::SetFileViewer(CResultViewer* viewer) {
    viewer_ = viewer ? viewer : &pageOnlyViewer_;
    pages_.SetViewer(*viewer_);
}

HWND CMainFrame::Open(int showCommand, const std::string& commandLineFile) {
    const HINSTANCE instance = context_.instance;
    kestrix::ui::WindowClassParams params;
    params.instance = instance;
    params.name = kFrameClass;
    params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    params.icon = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    params.smallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
    params.menuName = MAKEINTRESOURCEW(IDR_MAINFRAME);
    kestrix::ui::RegisterWindowClass(params);
    kestrix::ui::WindowParams window;
    window.instance = instance;
    window.className = kFrameClass;
    window.title = L"";
    window.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (!Create(window))
        return nullptr;
    if (ownDialogs_)
        ownDialogs_->SetOwner(hwnd());
    accelerators_ = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    loop_.SetFirstFilter([this](MSG& message) { return TranslateFrameKey(message); });
    DragAcceptFiles(hwnd(), TRUE);
    RestorePlacement(showCommand);
    documentCommands_.Start(commandLineFile, settings_.AutoLoad());
    ShowIdleStatus();
    UpdateCommandStates();
    return hwnd();
}

bool CMainFrame::OnCreate(const CREATESTRUCTW&) {
    CreateBars();
    splitFactor_ = settings_.SplitFactor();
    if (!propertyBar_.CreateIn(context_.instance, hwnd()))
        return false;
    SetWindowLongPtrW(propertyBar_.hwnd(), GWLP_ID, IDC_PROPERTY_BAR);
    modeless_.Add(propertyBar_.hwnd());
    if (!tabView_.CreateIn(context_.instance, hwnd(), IDC_TAB_VIEW))
        return false;
    // During a fold the tab view slides over the property bar, which clips itself to it.
    SetWindowPos(tabView_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // An open preview of the result page follows its text.
    tabView_.surface().OnChanged([this] { preview_.Refresh(); });
    Layout();
    return true;
}

DWORD CMainFrame::ShownStyle(int barId) {
    return settings_.BarVisible(barId) ? WS_VISIBLE : 0;
}

void CMainFrame::CreateBars() {
    const HINSTANCE instance = context_.instance;
    toolbar_ =
        CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                        WS_CHILD | ShownStyle(IDC_TOOLBAR) | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                            CCS_TOP,
                        0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IDC_TOOLBAR), instance, nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP bitmap{instance, IDB_TOOLBAR};
    SendMessageW(toolbar_, TB_ADDBITMAP, TOOLBAR_IMAGES, reinterpret_cast<LPARAM>(&bitmap));
    for (const ToolbarButton& b : kToolbarButtons) {
        TBBUTTON button{};
        button.iBitmap = b.image < 0 ? 0 : b.image;
        button.idCommand = b.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = b.image < 0 ? BTNS_SEP : BTNS_BUTTON;
        SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    std::vector<int> commands;
    for (const ToolbarButton& b : kToolbarButtons)
        if (b.image >= 0)
            commands.push_back(b.command);
    toolbarStates_ = CCommandStates(CommandBindings(commands));
    status_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                        WS_CHILD | ShownStyle(IDC_STATUS_BAR) | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                        reinterpret_cast<HMENU>(IDC_STATUS_BAR), instance, nullptr);
    progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD, 0, 0, 0, 0, status_,
                                reinterpret_cast<HMENU>(IDC_PROGRESS), instance, nullptr);
}

int CMainFrame::SharedHeight() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    CFrameMetrics metrics;
    metrics.toolbarHeight = HeightOf(toolbar_);
    metrics.statusHeight = HeightOf(status_);
    return sorbex::SharedHeight({client.left, client.top, client.right, client.bottom}, metrics);
}

bool CMainFrame::OnSize(UINT kind, int, int) {
    if (kind != SIZE_MINIMIZED)
        Layout();
    return true;
}

void CMainFrame::Layout() {
    if (!toolbar_ || !propertyBar_.hwnd() || !tabView_.hwnd())
        return;
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(status_, WM_SIZE, 0, 0);
    LayoutPanes();
}

void CMainFrame::LayoutPanes() {
    if (!toolbar_ || !propertyBar_.hwnd() || !tabView_.hwnd())
        return;
    if (!folded_ && !fold_.Running(context_.clock->Milliseconds()))
        barHeight_ = PropertyBarHeight(SharedHeight(), splitFactor_);
    const CFrameLayout layout = LayoutFor(barHeight_, foldMoving_ ? fold_.standingHeight() : 0);
    // The property bar and the tab view (the page row above the page's text) move in one
    // batch. During a fold the bar stands still: a frame moves the tab view alone, the
    // system copies what it shows and draws only the strip it uncovers.
    const CRect& view = layout.resultView;
    const CRect tabView{view.left, layout.tabRow.top, view.right, view.bottom};
    HDWP batch = BeginDeferWindowPos(2);
    batch = DeferMove(batch, propertyBar_.hwnd(), layout.propertyBar);
    batch = DeferMove(batch, tabView_.hwnd(), tabView);
    if (batch)
        EndDeferWindowPos(batch);
    // The progress bar stands in the status bar's right part.
    if (IsWindowVisible(progress_)) {
        RECT part{};
        SendMessageW(status_, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
        MoveChild(progress_, part.left, part.top, part.right - part.left,
                  part.bottom - part.top);
    }
}

CFrameLayout CMainFrame::LayoutFor(int barHeight, int standingHeight) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    CFrameMetrics metrics;
    metrics.toolbarHeight = HeightOf(toolbar_);
    metrics.statusHeight = HeightOf(status_);
    metrics.splitterHeight = kSplitterHeight;
    return LayOutFrame({client.left, client.top, client.right, client.bottom}, metrics, barHeight,
                       standingHeight);
}

void CMainFrame::StartFold(int toHeight) {
    // The tab view's text keeps the taller of its two heights until the fold ends.
    const CFrameLayout from = LayoutFor(barHeight_);
    const CFrameLayout to = LayoutFor(toHeight);
    tabView_.HoldHeight(std::max(from.resultView.bottom - from.tabRow.top,
                                 to.resultView.bottom - to.tabRow.top));
    fold_.Start(barHeight_, toHeight, context_.clock->Milliseconds());
    foldMoving_ = true;
    // The bar takes the taller end at once (unfolding, under the tab view, which then
    // slides down and uncovers it) and keeps its page shown until the fold ends.
    LayoutPanes();
    propertyBar_.StartFold(folded_);
    SetTimer(hwnd(), kFoldTimer, kFoldTimerMs, nullptr);
}

void CMainFrame::FoldPropertyBar() {
    if (folded_)
        return;
    folded_ = true;
    StartFold(kFoldedBarHeight);
}

void CMainFrame::UnfoldPropertyBar() {
    if (!folded_)
        return;
    folded_ = false;
    StartFold(PropertyBarHeight(SharedHeight(), splitFactor_));
}

bool CMainFrame::OnTimer(UINT_PTR id) {
    if (id == kBacklogTimer) {
        // A run feeds its own page; the rest waits for its end.
        if (!run_.flags().searching && !view_.StreamPiece())
            KillTimer(hwnd(), kBacklogTimer);
        return true;
    }
    if (id != kFoldTimer)
        return false;
    const std::uint32_t now = context_.clock->Milliseconds();
    const bool running = run_.flags().searching || run_.flags().replacing;
    bool moved = fold_.Step(now, barHeight_, running ? kFoldFrameSpacingInRunMs : 0);
    if (!fold_.Running(now)) {
        KillTimer(hwnd(), kFoldTimer);
        // The bar's page goes while the tab view still covers it.
        propertyBar_.EndFold();
        foldMoving_ = false;
        // The panes take their last place while the held size still stands: released
        // first, the page's text would be cut to the tab view's size of the moment and
        // then grown again, and the control lays out all its text for each new size.
        LayoutPanes();
        tabView_.HoldHeight(0);
        return true;
    }
    // The frame keeps its size during a fold: the toolbar and the status bar stay.
    if (moved)
        LayoutPanes();
    return true;
}

bool CMainFrame::OnSplitterMouse(UINT message, LPARAM lParam) {
    const int y = static_cast<short>(HIWORD(lParam));
    const int barTop = HeightOf(toolbar_);
    switch (message) {
    case WM_LBUTTONDOWN:
        if (folded_ || y < barTop + barHeight_ || y >= barTop + barHeight_ + kSplitterHeight)
            return false;
        draggingSplitter_ = true;
        SetCapture(hwnd());
        return true;
    case WM_MOUSEMOVE:
        if (!draggingSplitter_)
            return false;
        splitFactor_ = SplitFactorFor(y - barTop, SharedHeight());
        LayoutPanes();
        return true;
    case WM_LBUTTONUP:
        if (!draggingSplitter_)
            return false;
        draggingSplitter_ = false;
        ReleaseCapture();
        return true;
    default:
        return false;
    }
}

void CMainFrame::RestorePlacement(int showCommand) {
    CWindowPlacementValue stored;
    const bool normalStart = showCommand == SW_SHOWNORMAL || showCommand == SW_SHOWDEFAULT;
    if (!settings_.MainWindowPlacement(stored)) {
        ShowWindow(hwnd(), normalStart ? SW_SHOWNORMAL : showCommand);
        UpdateWindow(hwnd());
        return;
    }
    UINT show = stored.showCommand;
    if (!normalStart)
        show = static_cast<UINT>(showCommand);
    // A window stored minimised comes back as a window the user can see.
    if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE)
        show = normalStart ? SW_SHOWNORMAL : static_cast<UINT>(showCommand);
    ApplyWindowPlacement(hwnd(), stored, show);
    UpdateWindow(hwnd());
}

void CMainFrame::StorePlacement() {
    CWindowPlacementValue stored;
    if (ReadWindowPlacement(hwnd(), stored))
        settings_.SetMainWindowPlacement(stored);
}

bool CMainFrame::OnClose() {
    if (run_.flags().searching || run_.flags().replacing) {
        // The run and the walk stop at their next step; the window closes after them.
        closeAfterRun_ = true;
        run_.CancelSearching();
        run_.flags().quitRequested = 1;
        return true;
    }
    if (tabView_.renaming())
        tabView_.EndRename(true);
    // The save question and the save see the last run's page.
    StoreWaitingRun();
    if (!documentCommands_.CanClose())
        return true;
    StorePlacement();
    settings_.SetSplitFactor(splitFactor_);
    // The bars' own style, not IsWindowVisible: a frame closed while hidden keeps them.
    const auto shown = [](HWND bar) { return (GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE) != 0; };
    settings_.SetBarsShown({{IDC_TOOLBAR, shown(toolbar_)}, {IDC_STATUS_BAR, shown(status_)}});
    propertyBar_.StoreOptions();
    definitions_.Save(settings_);
    Destroy();
    return true;
}

void CMainFrame::OnDestroy() {
    KillTimer(hwnd(), kFoldTimer);
    KillTimer(hwnd(), kBacklogTimer);
    modeless_.Remove(propertyBar_.hwnd());
    DragAcceptFiles(hwnd(), FALSE);
    if (quitWhenDestroyed)
        PostQuitMessage(0);
}

bool CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kStoreRunMessage:
        StoreWaitingRun();
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        if (OnSplitterMouse(message, lParam)) {
            result = 0;
            return true;
        }
        return false;
    case WM_SETCURSOR:
        if (waitDepth_ > 0) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            result = TRUE;
            return true;
        }
        if (reinterpret_cast<HWND>(wParam) == hwnd() && LOWORD(lParam) == HTCLIENT && !folded_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            ScreenToClient(hwnd(), &cursor);
            const int barBottom = HeightOf(toolbar_) + barHeight_;
            if (cursor.y >= barBottom && cursor.y < barBottom + kSplitterHeight) {
                SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
                result = TRUE;
                return true;
            }
        }
        return false;
    case WM_INITMENUPOPUP:
        EnableMenu(reinterpret_cast<HMENU>(wParam));
        result = 0;
        return true;
    case WM_MENUSELECT: {
        const UINT flags = HIWORD(wParam);
        if (flags == 0xFFFF && lParam == 0)
            ShowIdleStatus();
        else if (!(flags & (MF_POPUP | MF_SEPARATOR)))
            ShowPrompt(LOWORD(wParam));
        result = 0;
        return true;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == tabView_.pageRow()) {
            const HMENU menu = LoadMenuW(context_.instance, MAKEINTRESOURCEW(IDR_TAB_VIEW_MENU));
            const HMENU popup = GetSubMenu(menu, 0);
            EnableMenu(popup);
            TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                           static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                           0, hwnd(), nullptr);
            DestroyMenu(menu);
            result = 0;
            return true;
        }
        return false;
    case WM_DROPFILES: {
        const auto drop = reinterpret_cast<HDROP>(wParam);
        wchar_t path[MAX_PATH] = {};
        const bool one = DragQueryFileW(drop, 0, path, MAX_PATH) > 0;
        DragFinish(drop);
        StoreWaitingRun();
        if (one && enabled(CCommand::FileOpen))
            documentCommands_.Open(Narrow(path));
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace sorbex
