// The search window: options loaded from and saved to the settings, the worker's hits
// and progress taken over in batches, and the close-while-running rules. What to show
// and when is decided in registry/SearchStatus.h and registry/SearchScope.h.
#include "registry/win32/SearchWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinPaths.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/HookProcedure.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "registry/RegistrySearch.h"
#include "registry/SearchScope.h"
#include "registry/SearchStatus.h"
#include "registry/win32/SearchRun.h"
#include "registry/win32/SearchWindowIds.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace keywright {

namespace {

constexpr DWORD kHelpContextBase = 0x80D30000u;
constexpr int kMaxLocationText = 511;
constexpr int kMaxSearchText = 255;
constexpr int kStatusPartEnds[kStatusParts] = {130, 240, 350, -1};
constexpr int kListGap = 4;     // between the result list and the status bar
constexpr int kListMinimum = 10; // the list's least width and height

enum Page { kSearchPage, kAdvancedPage };

struct Column {
    unsigned title;
    int width;
};
constexpr Column kColumns[] = {
    {kStrColumnKey, 400}, {kStrColumnValue, 100}, {kStrColumnData, 100}};
constexpr unsigned kPageTitles[] = {kStrPageSearch, kStrPageAdvanced};

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

const int kSearchPageControls[] = {
    KW_IDC_SEARCH_TEXT,   KW_IDC_SEARCH_FOR,  KW_IDC_SEARCH_KEYS,     KW_IDC_SEARCH_VALUES,
    KW_IDC_SEARCH_DATA,   KW_IDC_SEARCH_MATCH, KW_IDC_SEARCH_CASE,    KW_IDC_SEARCH_WHOLE_STRING,
    KW_IDC_SEARCH_IN,     KW_IDC_SEARCH_ALL,  KW_IDC_SEARCH_SELECTED, KW_IDC_SEARCH_HKCR,
    KW_IDC_SEARCH_HKCU,   KW_IDC_SEARCH_HKLM, KW_IDC_SEARCH_HKU,      KW_IDC_SEARCH_HKCC,
    KW_IDC_SEARCH_HKDD};
const int kAdvancedPageControls[] = {KW_IDC_SEARCH_SUPPRESS, KW_IDC_SEARCH_SUPPRESS_HKCU,
                                     KW_IDC_SEARCH_SUPPRESS_HKCR, KW_IDC_SEARCH_SUPPRESS_HKCC,
                                     KW_IDC_SEARCH_CURRENT_USER};

// ---- window side ------------------------------------------------------------------

std::uint32_t ReadDword(std::uint32_t id, std::uint32_t fallback) {
    std::uint32_t value = fallback;
    ReadSetting(AddinSettings(), id, &value, sizeof value);
    return value;
}

void WriteDword(std::uint32_t id, std::uint32_t value) {
    WriteSetting(AddinSettings(), id, &value, sizeof value);
}

std::wstring Wide(unsigned id) {
    const char* text = KeywrightString(id);
    return kestrix::WideFromAnsi(text ? text : "");
}

// The matching string of a data hit: the string of a multi-string that matched.
std::string MatchingString(const SearchHit& hit) {
    if (!(hit.flags & kHitData) || hit.matchOffset >= hit.data.size())
        return {};
    const char* start = reinterpret_cast<const char*>(hit.data.data()) + hit.matchOffset;
    std::size_t room = hit.data.size() - hit.matchOffset;
    return std::string(start, strnlen(start, room));
}

class SearchWindow : public kestrix::ui::Dialog {
public:
    SearchWindow() : run_(SearchRun::Make(kMsgSearchDone)) {}

protected:
    bool OnInit() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnClose() override;
    void OnDestroy() override;

private:
    void SetUpTabs();
    void SetUpResults();
    void LoadControls();
    void SaveControls();
    void Place();
    void EnableRootChecks();
    void ShowPage(int page);
    void SetRunning(bool running);
    void StartSearch();
    void TakeHits();
    void TakeProgress();
    void Navigate(int row);
    void ShowContextHelp(const HELPINFO& info);
    void SetStatus(std::size_t part, const std::string& text);

    std::shared_ptr<SearchRun> run_;
    SearchStatusView statusView_;
    HWND list_ = nullptr;
    HWND status_ = nullptr;
    bool running_ = false;
    bool closePending_ = false;
    HCURSOR oldCursor_ = nullptr;
    POINT minSize_{};
    RECT listMargins_{}; // the list's distance from the client edges
};

bool SearchWindow::OnInit() {
    run_->Attach(hwnd());
    if (HICON icon = LoadIconW(OwnInstance(), MAKEINTRESOURCEW(KW_IDI_SEARCH))) {
        Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SetUpTabs();
    SendItem(KW_IDC_SEARCH_TEXT, EM_LIMITTEXT, kMaxSearchText, 0);
    SetUpResults();
    LoadControls();
    SetRunning(false);
    Place();
    return true;
}

void SearchWindow::SetUpTabs() {
    HWND tabs = Item(KW_IDC_SEARCH_TABS);
    for (int i = 0; i < static_cast<int>(std::size(kPageTitles)); ++i) {
        std::wstring title = Wide(kPageTitles[i]);
        TCITEMW tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = title.data();
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
    }
    // The pages' controls lie on the dialog itself, above the tab control.
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ShowPage(kSearchPage);
}

void SearchWindow::SetUpResults() {
    list_ = Item(KW_IDC_SEARCH_RESULTS);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        std::wstring title = Wide(kColumns[i].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title.data();
        column.cx = kColumns[i].width;
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    status_ = CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(KW_IDC_SEARCH_STATUS)), OwnInstance(),
        nullptr);
    int parts[kStatusParts];
    std::copy(std::begin(kStatusPartEnds), std::end(kStatusPartEnds), parts);
    SendMessageW(status_, SB_SETPARTS, kStatusParts, reinterpret_cast<LPARAM>(parts));

    RECT client, list, bar;
    GetClientRect(hwnd(), &client);
    GetWindowRect(list_, &list);
    GetWindowRect(status_, &bar);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&list), 2);
    // Room for the status bar below the list.
    list.bottom = std::min<LONG>(list.bottom, client.bottom - (bar.bottom - bar.top) - kListGap);
    MoveWindow(list_, list.left, list.top, list.right - list.left, list.bottom - list.top, FALSE);
    listMargins_ = RECT{list.left, list.top, client.right - list.right, client.bottom - list.bottom};
}

void SearchWindow::LoadControls() {
    RegistrySearch defaults{SearchEnvironment{}};
    for (const CheckSetting& c : kChecks)
        SetChecked(c.control, ReadDword(c.setting, defaults.*c.field) != 0);
    bool all = ReadDword(kSettingSearchAll, 1) != 0;
    SetChecked(KW_IDC_SEARCH_ALL, all);
    SetChecked(KW_IDC_SEARCH_SELECTED, !all);
    EnableRootChecks();
}

void SearchWindow::SaveControls() {
    for (const CheckSetting& c : kChecks)
        WriteDword(c.setting, IsChecked(c.control) ? 1 : 0);
    WriteDword(kSettingSearchAll, IsChecked(KW_IDC_SEARCH_ALL) ? 1 : 0);
    SaveWindowPlace(hwnd(), kSettingSearchWindowPos);
}

void SearchWindow::Place() {
    RECT r;
    GetWindowRect(hwnd(), &r);
    minSize_ = POINT{r.right - r.left, r.bottom - r.top};
    PlaceSavedWindow(hwnd(), kSettingSearchWindowPos, minSize_);
}

void SearchWindow::EnableRootChecks() {
    bool whole = IsChecked(KW_IDC_SEARCH_ALL);
    for (int id : kRootChecks)
        EnableItem(id, whole);
}

void SearchWindow::ShowPage(int page) {
    for (int id : kSearchPageControls)
        ShowWindow(Item(id), page == kSearchPage ? SW_SHOW : SW_HIDE);
    for (int id : kAdvancedPageControls)
        ShowWindow(Item(id), page == kAdvancedPage ? SW_SHOW : SW_HIDE);
}

void SearchWindow::SetRunning(bool running) {
    running_ = running;
    EnableItem(KW_IDC_SEARCH_START, !running);
    EnableItem(KW_IDC_SEARCH_STOP, running);
}

void SearchWindow::SetStatus(std::size_t part, const std::string& text) {
    std::wstring wide = kestrix::WideFromAnsi(text);
    SendMessageW(status_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide.c_str()));
}

void SearchWindow::StartSearch() {
    RegistrySearch& s = run_->search;
    s.searchText = kestrix::AnsiFromWide(ItemText(KW_IDC_SEARCH_TEXT));
    for (const CheckSetting& c : kChecks)
        s.*c.field = IsChecked(c.control);
    s.wholeRegistry = IsChecked(KW_IDC_SEARCH_ALL);
    if (s.searchText.empty()) {
        ShowMessage(GetActiveWindow(), KeywrightString(kStrEnterSearchString),
                    Caption::ProgramName);
        return;
    }
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    if (HWND tree = Addin().editor.tree) {
        EditorTreeView view(tree);
        SetSearchScope(s, view, reinterpret_cast<TreeItem>(CaretItem(tree)),
                       CurrentKeyPath(tree));
    }
    oldCursor_ = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    SetRunning(true);
    statusView_.Reset();
    run_->Restart();
    if (!Start(s)) {
        SetRunning(false);
        SetCursor(oldCursor_);
    }
}

void SearchWindow::TakeProgress() {
    StatusTexts texts = statusView_.Show(run_->TakeProgress());
    for (std::size_t part = 0; part < texts.size(); ++part)
        if (texts[part])
            SetStatus(part, *texts[part]);
}

void SearchWindow::TakeHits() {
    std::vector<std::unique_ptr<SearchHit>> hits = run_->TakeHits();
    if (hits.empty())
        return;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    for (const auto& hit : hits) {
        std::wstring key = kestrix::WideFromAnsi(hit->keyPath);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = INT_MAX;
        item.pszText = key.data();
        item.lParam = static_cast<LPARAM>(hit->flags);
        int row = static_cast<int>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (row < 0)
            continue;
        std::wstring columns[] = {kestrix::WideFromAnsi(hit->valueName),
                                  kestrix::WideFromAnsi(MatchingString(*hit))};
        for (int column = 1; column <= static_cast<int>(std::size(columns)); ++column) {
            LVITEMW sub{};
            sub.iSubItem = column;
            sub.pszText = columns[column - 1].data();
            SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void SearchWindow::Navigate(int row) {
    if (row < 0)
        return;
    auto text = [this, row](int column) {
        wchar_t buffer[kMaxLocationText + 1] = {};
        LVITEMW item{};
        item.pszText = buffer;
        item.cchTextMax = kMaxLocationText + 1;
        item.iSubItem = column;
        SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return kestrix::AnsiFromWide(buffer);
    };
    GotoUrl(text(0), text(1));
}

void SearchWindow::ShowContextHelp(const HELPINFO& info) {
    std::optional<std::wstring> help = AddinHelpPath();
    if (!help)
        return;
    HWND target = static_cast<HWND>(info.hItemHandle) ? static_cast<HWND>(info.hItemHandle) : hwnd();
    WinHelpW(target, help->c_str(), HELP_CONTEXTPOPUP, kHelpContextBase + info.iCtrlId);
}

bool SearchWindow::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case kMsgSearchTakeHits:
        TakeHits();
        return true;
    case kMsgSearchTakeProgress:
        TakeProgress();
        return true;
    case kMsgSearchDone:
        // Every hit and the last progress were queued before the done message.
        TakeHits();
        TakeProgress();
        SetRunning(false);
        if (closePending_)
            Destroy();
        return true;
    case WM_SETCURSOR:
        if (!running_)
            return false;
        SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_APPSTARTING)));
        result = TRUE;
        return true;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minSize_;
        return true;
    case WM_HELP:
        ShowContextHelp(*reinterpret_cast<const HELPINFO*>(lParam));
        return true;
    default:
        return false;
    }
}

bool SearchWindow::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case KW_IDC_SEARCH_START:
    case IDOK:
        if (!running_)
            StartSearch();
        return true;
    case KW_IDC_SEARCH_STOP:
        Stop(run_->search);
        SetCursor(oldCursor_);
        return true;
    case KW_IDC_SEARCH_ALL:
    case KW_IDC_SEARCH_SELECTED:
        EnableRootChecks();
        return true;
    case IDCANCEL:
        Send(WM_CLOSE);
        return true;
    default:
        return false;
    }
}

bool SearchWindow::OnNotify(NMHDR& header, LRESULT&) {
    if (header.idFrom == KW_IDC_SEARCH_TABS && header.code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
        return true;
    }
    if (header.idFrom != KW_IDC_SEARCH_RESULTS)
        return false;
    if (header.code == NM_CLICK) {
        Navigate(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return true;
    }
    if (header.code == LVN_KEYDOWN && reinterpret_cast<NMLVKEYDOWN&>(header).wVKey == VK_RETURN) {
        Navigate(static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, -1, LVNI_SELECTED)));
        return true;
    }
    return false;
}

bool SearchWindow::OnSize(UINT, int width, int height) {
    SendMessageW(status_, WM_SIZE, 0, 0);
    const RECT& m = listMargins_;
    MoveWindow(list_, m.left, m.top, std::max<LONG>(width - m.right - m.left, kListMinimum),
               std::max<LONG>(height - m.bottom - m.top, kListMinimum), TRUE);
    return true;
}

bool SearchWindow::OnClose() {
    if (running_) {
        // The window closes once the worker has said it is done.
        Stop(run_->search);
        closePending_ = true;
    } else {
        Destroy();
    }
    return true;
}

void SearchWindow::OnDestroy() {
    run_->Attach(nullptr);
    if (running_)
        Stop(run_->search);
    else
        SaveControls();
}

} // namespace

HWND OpenSearchWindow() {
    return OpenModelessWindow(std::make_unique<SearchWindow>(), KW_IDD_SEARCH);
}

} // namespace keywright
