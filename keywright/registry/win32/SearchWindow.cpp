// The search window: options loaded from and saved to the settings, the worker's
// hits and progress taken over in batches, and the close-while-running rules.
#include "registry/win32/SearchWindow.h"

#include "host/KeyPath.h"
#include "host/win32/AddinContext.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/GotoUrl.h"
#include "platform/win32/Win32Registry.h"
#include "registry/RegistrySearch.h"
#include "registry/win32/SearchWindowIds.h"
#include "settings/SettingAccess.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace keywright {

namespace {

constexpr UINT kMsgSearchDone = 0x8002; // WM_APP + 2
constexpr UINT kMsgTakeHits = WM_APP + 20;
constexpr UINT kMsgTakeProgress = WM_APP + 21;
constexpr DWORD kHelpContextBase = 0x80D30000u;
constexpr SIZE_T kWorkerStack = 32768;
constexpr std::size_t kMaxLocationText = 511;
constexpr DWORD kProgressIntervalMs = 100;

// A check box and the setting that keeps it.
struct CheckSetting {
    int control;
    std::uint32_t setting;
    bool RegistrySearch::*field;
};

const CheckSetting kChecks[] = {
    {KW_IDC_SEARCH_KEYS, kSettingSearchKeys, &RegistrySearch::searchKeys},
    {KW_IDC_SEARCH_VALUES, kSettingSearchValues, &RegistrySearch::searchValues},
    {KW_IDC_SEARCH_DATA, kSettingSearchData, &RegistrySearch::searchData},
    {KW_IDC_SEARCH_CASE, kSettingSearchMatchCase, &RegistrySearch::matchCase},
    {KW_IDC_SEARCH_WHOLE_STRING, kSettingSearchWholeString, &RegistrySearch::wholeString},
    {KW_IDC_SEARCH_HKCU, kSettingSearchHkcu, &RegistrySearch::hkcu},
    {KW_IDC_SEARCH_HKCR, kSettingSearchHkcr, &RegistrySearch::hkcr},
    {KW_IDC_SEARCH_HKCC, kSettingSearchHkcc, &RegistrySearch::hkcc},
    {KW_IDC_SEARCH_HKLM, kSettingSearchHklm, &RegistrySearch::hklm},
    {KW_IDC_SEARCH_HKDD, kSettingSearchHkdd, &RegistrySearch::hkdd},
    {KW_IDC_SEARCH_HKU, kSettingSearchHku, &RegistrySearch::hku},
    {KW_IDC_SEARCH_SUPPRESS_HKCU, kSettingSuppressDupHkcu, &RegistrySearch::suppressHkcu},
    {KW_IDC_SEARCH_SUPPRESS_HKCR, kSettingSuppressDupHkcr, &RegistrySearch::suppressHkcr},
    {KW_IDC_SEARCH_SUPPRESS_HKCC, kSettingSuppressDupHkcc, &RegistrySearch::suppressHkcc},
    {KW_IDC_SEARCH_CURRENT_USER, kSettingCurrentUserOnly, &RegistrySearch::currentUserOnly},
};

const int kRootChecks[] = {KW_IDC_SEARCH_HKCR, KW_IDC_SEARCH_HKCU, KW_IDC_SEARCH_HKLM,
                           KW_IDC_SEARCH_HKU,  KW_IDC_SEARCH_HKCC, KW_IDC_SEARCH_HKDD};

const int kSearchPage[] = {KW_IDC_SEARCH_TEXT,   KW_IDC_SEARCH_FOR,          KW_IDC_SEARCH_KEYS,
                           KW_IDC_SEARCH_VALUES, KW_IDC_SEARCH_DATA,         KW_IDC_SEARCH_MATCH,
                           KW_IDC_SEARCH_CASE,   KW_IDC_SEARCH_WHOLE_STRING, KW_IDC_SEARCH_IN,
                           KW_IDC_SEARCH_ALL,    KW_IDC_SEARCH_SELECTED,     KW_IDC_SEARCH_HKCR,
                           KW_IDC_SEARCH_HKCU,   KW_IDC_SEARCH_HKLM,         KW_IDC_SEARCH_HKU,
                           KW_IDC_SEARCH_HKCC,   KW_IDC_SEARCH_HKDD};
const int kAdvancedPage[] = {KW_IDC_SEARCH_SUPPRESS, KW_IDC_SEARCH_SUPPRESS_HKCU,
                             KW_IDC_SEARCH_SUPPRESS_HKCR, KW_IDC_SEARCH_SUPPRESS_HKCC,
                             KW_IDC_SEARCH_CURRENT_USER};

kestrix::Registry& SystemRegistry() {
    static kestrix::Win32Registry registry;
    return registry;
}

// One window's state. The window and the worker each hold it; the last to let go
// frees it, so a window destroyed during a search never pulls the search away
// from under its worker.
struct SearchWindow {
    HWND dialog = nullptr;
    HWND list = nullptr;
    HWND status = nullptr;
    std::unique_ptr<RegistrySearch> search;
    bool running = false;
    bool closePending = false;
    HCURSOR oldCursor = nullptr;
    POINT minSize{};
    RECT listMargins{}; // right and bottom distance of the list from the client edges
    int shownKind = 0;
    int shownHundreds[3] = {};
    std::atomic<int> holders{1};

    // Filled by the worker, taken by the window.
    std::mutex lock;
    std::vector<std::unique_ptr<SearchHit>> pendingHits;
    bool hitsPosted = false;
    SearchProgress latest;
    bool progressPosted = false;
    int postedKind = 0;
    DWORD postedAt = 0;

    void Release() {
        if (--holders == 0)
            delete this;
    }
};

SearchWindow* WindowOf(HWND dialog) {
    return reinterpret_cast<SearchWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

std::string EditorProgramName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// ---- worker side: runs on the search thread -------------------------------------

void OnHit(void* context, std::unique_ptr<SearchHit> hit) {
    auto* w = static_cast<SearchWindow*>(context);
    std::lock_guard<std::mutex> guard(w->lock);
    w->pendingHits.push_back(std::move(hit));
    // One message per batch: the window takes every hit queued by then, so the
    // worker never waits for the list view to draw.
    if (!w->hitsPosted)
        w->hitsPosted = PostMessageA(w->dialog, kMsgTakeHits, 0, 0) != FALSE;
}

void OnProgress(void* context, const SearchProgress& progress) {
    auto* w = static_cast<SearchWindow*>(context);
    std::lock_guard<std::mutex> guard(w->lock);
    w->latest = progress;
    // Progress comes with every key and value; the status bar needs it a few times a
    // second, and the done message brings the last one.
    DWORD now = GetTickCount();
    if (w->progressPosted ||
        (progress.kind == w->postedKind && now - w->postedAt < kProgressIntervalMs))
        return;
    w->postedKind = progress.kind;
    w->postedAt = now;
    w->progressPosted = PostMessageA(w->dialog, kMsgTakeProgress, 0, 0) != FALSE;
}

struct WorkerStart {
    std::function<void()> worker;
    SearchWindow* window;
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    start->worker();
    start->window->Release();
    return 0;
}

// ---- window side ------------------------------------------------------------------

void SetCheck(HWND dialog, int control, bool on) {
    CheckDlgButton(dialog, control, on ? BST_CHECKED : BST_UNCHECKED);
}

bool IsChecked(HWND dialog, int control) {
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

std::uint32_t ReadDword(std::uint32_t id, std::uint32_t fallback) {
    std::uint32_t value = fallback;
    ReadSetting(AddinSettings(), id, &value, sizeof value);
    return value;
}

void WriteDword(std::uint32_t id, std::uint32_t value) {
    WriteSetting(AddinSettings(), id, &value, sizeof value);
}

void EnableRootChecks(HWND dialog) {
    bool whole = IsChecked(dialog, KW_IDC_SEARCH_ALL);
    for (int id : kRootChecks)
        EnableWindow(GetDlgItem(dialog, id), whole);
}

void ShowPage(HWND dialog, int page) {
    for (int id : kSearchPage)
        ShowWindow(GetDlgItem(dialog, id), page == 0 ? SW_SHOW : SW_HIDE);
    for (int id : kAdvancedPage)
        ShowWindow(GetDlgItem(dialog, id), page == 1 ? SW_SHOW : SW_HIDE);
}

void LoadControls(SearchWindow& w) {
    RegistrySearch defaults{SearchEnvironment{}};
    for (const CheckSetting& c : kChecks)
        SetCheck(w.dialog, c.control, ReadDword(c.setting, defaults.*c.field) != 0);
    bool all = ReadDword(kSettingSearchAll, 1) != 0;
    SetCheck(w.dialog, KW_IDC_SEARCH_ALL, all);
    SetCheck(w.dialog, KW_IDC_SEARCH_SELECTED, !all);
    EnableRootChecks(w.dialog);
}

void SaveControls(SearchWindow& w) {
    for (const CheckSetting& c : kChecks)
        WriteDword(c.setting, IsChecked(w.dialog, c.control) ? 1 : 0);
    WriteDword(kSettingSearchAll, IsChecked(w.dialog, KW_IDC_SEARCH_ALL) ? 1 : 0);
    RECT r;
    GetWindowRect(w.dialog, &r);
    std::string text = FormatWindowPosition(ScreenRect{r.left, r.top, r.right, r.bottom});
    WriteSetting(AddinSettings(), kSettingSearchWindowPos, text.c_str(),
                 static_cast<std::uint32_t>(text.size() + 1));
}

void PlaceWindow(SearchWindow& w) {
    RECT r;
    GetWindowRect(w.dialog, &r);
    w.minSize = POINT{r.right - r.left, r.bottom - r.top};
    char text[64] = "-1 -1 -1 -1";
    ReadSetting(AddinSettings(), kSettingSearchWindowPos, text, sizeof text);
    ScreenRect saved;
    if (ParseWindowPosition(text, &saved)) {
        MoveWindow(w.dialog, saved.left, saved.top,
                   std::max<int>(saved.right - saved.left, w.minSize.x),
                   std::max<int>(saved.bottom - saved.top, w.minSize.y), FALSE);
        return;
    }
    RECT owner;
    HWND frame = Addin().editor.frame;
    if (!frame || !GetWindowRect(frame, &owner))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner, 0);
    ScreenRect placed = CentreOver(ScreenRect{owner.left, owner.top, owner.right, owner.bottom},
                                   ScreenRect{r.left, r.top, r.right, r.bottom});
    SetWindowPos(w.dialog, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetStatus(SearchWindow& w, int part, const std::string& text) {
    SendMessageA(w.status, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string CountText(unsigned id, std::uint32_t count) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, KeywrightString(id), static_cast<int>(count));
    return buffer;
}

void ShowProgress(SearchWindow& w, const SearchProgress& p) {
    if (p.kind != w.shownKind) {
        unsigned text = p.kind == kSearchCompleted     ? kStrSearchCompleted
                        : p.kind == kSearchInterrupted ? kStrSearchInterrupted
                                                       : kStrSearching;
        SetStatus(w, 0, KeywrightString(text));
        w.shownKind = p.kind;
    }
    if (p.kind == kSearchCompleted || p.kind == kSearchInterrupted) {
        SetStatus(w, 1, CountText(kStrKeysFound, p.counters.keysFound));
        SetStatus(w, 2, CountText(kStrValuesFound, p.counters.valuesFound));
        SetStatus(w, 3, CountText(kStrDataFound, p.counters.dataFound));
        return;
    }
    // Running counts change on every key: a part is rewritten only as its count
    // passes another hundred, showing that multiple of 100.
    const std::uint32_t counts[3] = {p.counters.keysVisited, p.counters.valuesVisited,
                                     p.counters.dataExamined};
    const unsigned texts[3] = {kStrKeysVisited, kStrValuesVisited, kStrDataVisited};
    for (int i = 0; i < 3; ++i) {
        int hundreds = static_cast<int>(counts[i] / 100);
        if (hundreds != 0 && hundreds != w.shownHundreds[i]) {
            SetStatus(w, i + 1, CountText(texts[i], static_cast<std::uint32_t>(hundreds) * 100));
            w.shownHundreds[i] = hundreds;
        }
    }
}

void TakeProgress(SearchWindow& w) {
    SearchProgress p;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        p = w.latest;
        w.progressPosted = false;
    }
    ShowProgress(w, p);
}

std::string MatchingString(const SearchHit& hit) {
    if (!(hit.flags & kHitData) || hit.matchOffset >= hit.data.size())
        return {};
    const char* start = reinterpret_cast<const char*>(hit.data.data()) + hit.matchOffset;
    std::size_t room = hit.data.size() - hit.matchOffset;
    return std::string(start, strnlen(start, room));
}

void TakeHits(SearchWindow& w) {
    std::vector<std::unique_ptr<SearchHit>> hits;
    {
        std::lock_guard<std::mutex> guard(w.lock);
        hits.swap(w.pendingHits);
        w.hitsPosted = false;
    }
    if (hits.empty())
        return;
    SendMessageA(w.list, WM_SETREDRAW, FALSE, 0);
    for (const auto& hit : hits) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = INT_MAX;
        item.pszText = const_cast<char*>(hit->keyPath.c_str());
        item.lParam = static_cast<LPARAM>(hit->flags);
        int row = static_cast<int>(
            SendMessageA(w.list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0)
            continue;
        std::string data = MatchingString(*hit);
        const std::string* columns[2] = {&hit->valueName, &data};
        for (int column = 1; column <= 2; ++column) {
            LVITEMA sub{};
            sub.iSubItem = column;
            sub.pszText = const_cast<char*>(columns[column - 1]->c_str());
            SendMessageA(w.list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(w.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w.list, nullptr, TRUE);
}

// The tree's computers and their roots; with `only`, that one computer item.
std::vector<SearchComputer> ComputersFromTree(HWND tree, HTREEITEM only) {
    std::vector<SearchComputer> computers;
    auto textOf = [tree](HTREEITEM item) {
        char text[512] = {};
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return std::string(text);
    };
    HTREEITEM computer = only ? only : TreeView_GetRoot(tree);
    for (; computer; computer = only ? nullptr : TreeView_GetNextSibling(tree, computer)) {
        SearchComputer entry{textOf(computer), {}};
        for (HTREEITEM root = TreeView_GetChild(tree, computer); root;
             root = TreeView_GetNextSibling(tree, root))
            entry.roots.push_back(textOf(root));
        computers.push_back(std::move(entry));
    }
    return computers;
}

void SetRunning(SearchWindow& w, bool running) {
    w.running = running;
    EnableWindow(GetDlgItem(w.dialog, KW_IDC_SEARCH_START), !running);
    EnableWindow(GetDlgItem(w.dialog, KW_IDC_SEARCH_STOP), running);
}

void StartSearch(SearchWindow& w) {
    RegistrySearch& s = *w.search;
    char text[256] = {};
    GetDlgItemTextA(w.dialog, KW_IDC_SEARCH_TEXT, text, sizeof text);
    s.searchText = text;
    for (const CheckSetting& c : kChecks)
        s.*c.field = IsChecked(w.dialog, c.control);
    s.wholeRegistry = IsChecked(w.dialog, KW_IDC_SEARCH_ALL);
    if (s.searchText.empty()) {
        std::string caption = EditorProgramName();
        MessageBoxA(GetActiveWindow(), KeywrightString(kStrEnterSearchString), caption.c_str(),
                    MB_OK);
        return;
    }
    SendMessageA(w.list, LVM_DELETEALLITEMS, 0, 0);
    HWND tree = Addin().editor.tree;
    s.computers.clear();
    s.computerName.clear();
    s.rootName.clear();
    s.startSubkey.clear();
    s.rootHandle = 0;
    if (!s.wholeRegistry) {
        std::optional<std::string> path = tree ? CurrentKeyPath(tree) : std::nullopt;
        if (!path) {
            s.wholeRegistry = true; // nothing selected: the whole registry it is
        } else {
            KeyPathParts parts = SplitKeyPath(*path);
            s.computerName = parts.computer;
            s.rootName = parts.rootName;
            s.rootHandle = parts.root;
            s.startSubkey = parts.subkey;
            if (parts.rootName.empty())
                s.computers = ComputersFromTree(tree, TreeView_GetSelection(tree));
        }
    }
    if (s.wholeRegistry && tree)
        s.computers = ComputersFromTree(tree, nullptr);
    w.oldCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SetRunning(w, true);
    w.shownKind = 0;
    w.postedKind = 0;
    std::fill(std::begin(w.shownHundreds), std::end(w.shownHundreds), 0);
    s.callbackContext = &w;
    s.doneMessage = kMsgSearchDone;
    s.hitCallback = &OnHit;
    s.progressCallback = &OnProgress;
    if (!Start(s)) {
        SetRunning(w, false);
        SetCursor(w.oldCursor);
    }
}

SearchEnvironment MakeEnvironment(SearchWindow* w) {
    SearchEnvironment env;
    env.registry = &SystemRegistry();
    env.rootText = Addin().rootText;
    HWND frame = Addin().editor.frame;
    env.showMessage = [frame](const std::string& text) {
        std::string caption = KeywrightString(kStrAddinTitle);
        MessageBoxA(frame, text.c_str(), caption.c_str(), MB_OK | MB_ICONINFORMATION);
    };
    env.sendDone = [](void* context, std::uint32_t message) {
        PostMessageA(static_cast<SearchWindow*>(context)->dialog, message, 0, 0);
    };
    env.startThread = [w](std::function<void()> worker) {
        auto* start = new WorkerStart{std::move(worker), w};
        ++w->holders;
        HANDLE thread = CreateThread(nullptr, kWorkerStack, &WorkerThread, start, 0, nullptr);
        if (!thread) {
            --w->holders;
            delete start;
            return false;
        }
        CloseHandle(thread);
        return true;
    };
    env.tickCount = [] { return static_cast<std::uint32_t>(GetTickCount()); };
    return env;
}

void InitDialog(HWND dialog) {
    auto* w = new SearchWindow;
    w->dialog = dialog;
    w->search = std::make_unique<RegistrySearch>(MakeEnvironment(w));
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(w));
    HINSTANCE own = Addin().ownInstance;
    if (HICON icon = LoadIconA(own, MAKEINTRESOURCEA(KW_IDI_SEARCH))) {
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    HWND tabs = GetDlgItem(dialog, KW_IDC_SEARCH_TABS);
    const char* pages[] = {"Search", "Advanced"};
    for (int i = 0; i < 2; ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(pages[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
    }
    // The pages' controls lie on the dialog itself, above the tab control.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowPage(dialog, 0);
    SendDlgItemMessageA(dialog, KW_IDC_SEARCH_TEXT, EM_LIMITTEXT, 255, 0);

    w->list = GetDlgItem(dialog, KW_IDC_SEARCH_RESULTS);
    SendMessageA(w->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const struct {
        const char* title;
        int width;
    } columns[] = {{"Key", 400}, {"Value", 100}, {"Data", 100}};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(columns[i].title);
        column.cx = columns[i].width;
        SendMessageA(w->list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    w->status = CreateWindowExA(
        0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(KW_IDC_SEARCH_STATUS)), own, nullptr);
    int parts[4] = {130, 240, 350, -1};
    SendMessageA(w->status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(parts));

    RECT client, list, bar;
    GetClientRect(dialog, &client);
    GetWindowRect(w->list, &list);
    GetWindowRect(w->status, &bar);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&list), 2);
    int barHeight = bar.bottom - bar.top;
    // Room for the status bar below the list.
    list.bottom = std::min<LONG>(list.bottom, client.bottom - barHeight - 4);
    MoveWindow(w->list, list.left, list.top, list.right - list.left, list.bottom - list.top, FALSE);
    w->listMargins =
        RECT{list.left, list.top, client.right - list.right, client.bottom - list.bottom};

    LoadControls(*w);
    SetRunning(*w, false);
    PlaceWindow(*w);
}

void Resize(SearchWindow& w) {
    RECT client;
    GetClientRect(w.dialog, &client);
    SendMessageA(w.status, WM_SIZE, 0, 0);
    const RECT& m = w.listMargins;
    MoveWindow(w.list, m.left, m.top, std::max<LONG>(client.right - m.right - m.left, 10),
               std::max<LONG>(client.bottom - m.bottom - m.top, 10), TRUE);
}

void Navigate(SearchWindow& w, int row) {
    if (row < 0)
        return;
    char key[kMaxLocationText + 1] = {}, value[kMaxLocationText + 1] = {};
    LVITEMA item{};
    item.pszText = key;
    item.cchTextMax = sizeof key;
    item.iSubItem = 0;
    SendMessageA(w.list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    item.pszText = value;
    item.cchTextMax = sizeof value;
    item.iSubItem = 1;
    SendMessageA(w.list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    GotoUrl(key, value);
}

void ShowContextHelp(HWND dialog, const HELPINFO* info) {
    char path[MAX_PATH] = {};
    if (!GetModuleFileNameA(Addin().ownInstance, path, MAX_PATH))
        return;
    std::string help = path;
    std::size_t dot = help.rfind('.');
    if (dot == std::string::npos)
        return;
    help.replace(dot, std::string::npos, ".hlp");
    WinHelpA(static_cast<HWND>(info->hItemHandle) ? static_cast<HWND>(info->hItemHandle) : dialog,
             help.c_str(), HELP_CONTEXTPOPUP, kHelpContextBase + info->iCtrlId);
}

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        InitDialog(dialog);
        return TRUE;
    }
    SearchWindow* w = WindowOf(dialog);
    if (!w)
        return FALSE;
    switch (message) {
    case kMsgTakeHits:
        TakeHits(*w);
        return TRUE;
    case kMsgTakeProgress:
        TakeProgress(*w);
        return TRUE;
    case kMsgSearchDone:
        // Every hit and the last progress were queued before the done message.
        TakeHits(*w);
        TakeProgress(*w);
        SetRunning(*w, false);
        if (w->closePending)
            DestroyWindow(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case KW_IDC_SEARCH_START:
        case IDOK:
            if (!w->running)
                StartSearch(*w);
            return TRUE;
        case KW_IDC_SEARCH_STOP:
            Stop(*w->search);
            SetCursor(w->oldCursor);
            return TRUE;
        case KW_IDC_SEARCH_ALL:
        case KW_IDC_SEARCH_SELECTED:
            EnableRootChecks(dialog);
            return TRUE;
        case IDCANCEL:
            SendMessageA(dialog, WM_CLOSE, 0, 0);
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == KW_IDC_SEARCH_TABS && header->code == TCN_SELCHANGE) {
            ShowPage(dialog, static_cast<int>(SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            return TRUE;
        }
        if (header->idFrom == KW_IDC_SEARCH_RESULTS && header->code == NM_CLICK) {
            Navigate(*w, reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem);
            return TRUE;
        }
        if (header->idFrom == KW_IDC_SEARCH_RESULTS && header->code == LVN_KEYDOWN &&
            reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_RETURN) {
            Navigate(*w,
                     static_cast<int>(SendMessageA(w->list, LVM_GETNEXTITEM, -1, LVNI_SELECTED)));
            return TRUE;
        }
        return FALSE;
    }
    case WM_SETCURSOR:
        if (w->running) {
            SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = w->minSize;
        return TRUE;
    }
    case WM_SIZE:
        Resize(*w);
        return TRUE;
    case WM_HELP:
        ShowContextHelp(dialog, reinterpret_cast<const HELPINFO*>(lParam));
        return TRUE;
    case WM_CLOSE:
        if (w->running) {
            Stop(*w->search);
            w->closePending = true;
        } else {
            DestroyWindow(dialog);
        }
        return TRUE;
    case WM_DESTROY:
        if (w->running)
            Stop(*w->search);
        else
            SaveControls(*w);
        RemoveModelessWindow(dialog);
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        w->Release();
        return TRUE;
    }
    return FALSE;
}

} // namespace

HWND OpenSearchWindow() {
    HWND dialog = CreateDialogParamA(Addin().ownInstance, MAKEINTRESOURCEA(KW_IDD_SEARCH), nullptr,
                                     &SearchDialogProc, 0);
    if (!dialog)
        return nullptr;
    AddModelessWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

} // namespace keywright
