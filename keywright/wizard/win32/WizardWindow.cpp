// The replacement wizard's window: it binds the portable wizard's controls, pages and
// rows to dialog 215, its result list and its detail window, and feeds it the search.
#include "wizard/win32/WizardWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/HookProcedure.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "registry/SearchScope.h"
#include "registry/SearchStatus.h"
#include "registry/win32/SearchRun.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"
#include "wizard/ReplaceWizard.h"
#include "wizard/WizardLayout.h"
#include "wizard/WizardSettings.h"
#include "wizard/WizardStrings.h"
#include "wizard/win32/WizardBindings.h"
#include "wizard/win32/WizardDetail.h"
#include "wizard/win32/WizardWindowIds.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

namespace keywright {

namespace {

// The wizard's done message; hits and progress come as to the search window.
constexpr UINT kMsgWizardSearchDone = 0x8003; // WM_APP + 3
constexpr int kGapUnits = 4;           // dialog units between the list and what lies below
constexpr std::size_t kTextLimit = 255; // each of the two texts

const ControlBinding* BindingOfId(int id) {
    for (const ControlBinding& c : kControls)
        if (c.id == id)
            return &c;
    return nullptr;
}

// The system's cursors are numbers, which the headers spell for the narrow API.
HCURSOR SystemCursor(LPCSTR id) {
    return LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(id));
}

std::wstring Text(unsigned id) {
    return kestrix::WideFromAnsi(KeywrightString(id));
}

WizardRect ToWizardRect(const RECT& r) {
    return WizardRect{r.left, r.top, r.right, r.bottom};
}

WizardRect Union(const WizardRect& a, const WizardRect& b) {
    return WizardRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

class WizardWindow final : public kestrix::ui::Dialog, public WizardView {
public:
    // WizardView.
    WizardCriteria ReadCriteria() override;
    void ShowState(WizardState state, const WizardScreen& screen) override;
    void ClearResults() override;
    bool StartSearch(RegistrySearch& search) override;
    void ShowRunning(bool running) override;
    std::vector<ResultRow*> Rows() override;
    void ShowApplied() override;
    void RefreshEditor() override;
    void ShowMessage(const std::string& text) override { ShowAddinMessage(hwnd(), text); }

protected:
    bool OnInit() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnClose() override;
    void OnDestroy() override;

private:
    RECT ClientRectOf(int id) const;
    void EnableRootChecks();
    void MeasureFrame();
    void LayOut(WizardState state);
    void PlaceWindow();
    void SaveSettings();
    void TakeHits();
    void TakeProgress();
    void SetCell(int row, int column, const std::wstring& text);
    void ShowSelectedDetail();
    void RemoveSelected();
    void SelectRow(int row);
    void ShowHelp(const HELPINFO& info);

    HWND list_ = nullptr;
    HWND detail_ = nullptr;
    std::shared_ptr<SearchRun> run_;
    std::unique_ptr<ReplaceWizard> wizard_;
    SearchStatusView progress_{kPlainCountFormats};
    WizardFrame frame_;
    POINT minSize_{};
    std::vector<std::pair<int, RECT>> sideRects_, progressRects_;
    HCURSOR oldCursor_ = nullptr;
    HelpPopup help_;
};

RECT WizardWindow::ClientRectOf(int id) const {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool WizardWindow::OnInit() {
    run_ = SearchRun::Make(kMsgWizardSearchDone);
    run_->Attach(hwnd());
    HWND frame = Addin().editor.frame;
    RegistryAccess access{&SystemRegistry(), Addin().rootText,
                          [frame](const std::string& text) { ShowAddinMessage(frame, text); }};
    WizardMessages messages;
    // These two kinds have neither owner nor caption.
    messages.bare = [](const std::string& text) {
        keywright::ShowMessage(nullptr, text, Caption::None);
    };
    HWND dialog = hwnd();
    messages.owned = [dialog](const std::string& text) { ShowAddinMessage(dialog, text); };
    wizard_ = std::make_unique<ReplaceWizard>(*this, run_->search, std::move(access),
                                              std::move(messages));

    if (HICON icon = LoadIconW(OwnInstance(), MAKEINTRESOURCEW(KW_IDI_WIZARD))) {
        Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SendItem(KW_IDC_WIZ_FIND, EM_LIMITTEXT, kTextLimit);
    SendItem(KW_IDC_WIZ_REPLACE, EM_LIMITTEXT, kTextLimit);
    list_ = Item(KW_IDC_WIZ_RESULTS);
    const DWORD style = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
    for (int i = 0; i < 3; ++i) {
        std::wstring title = Text(kColumns[i].title);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = &title[0];
        column.cx = kColumns[i].width;
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    detail_ = CreateDetailWindow(hwnd(), KW_IDC_WIZ_DETAIL);

    WizardCriteria saved = LoadCriteria(AddinSettings());
    for (const CheckBinding& c : kChecks)
        SetChecked(c.id, saved.*c.field);
    SetChecked(KW_IDC_WIZ_ALL, saved.wholeRegistry);
    SetChecked(KW_IDC_WIZ_SELECTED, !saved.wholeRegistry);

    MeasureFrame();
    PlaceWindow();
    wizard_->Open();
    return false; // the wizard has set the focus itself
}

void WizardWindow::MeasureFrame() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    frame_.firstWidth = client.right;
    frame_.firstHeight = client.bottom;
    frame_.upperDivider = ToWizardRect(ClientRectOf(KW_IDC_WIZ_UPPER_DIVIDER));
    frame_.lowerDivider = ToWizardRect(ClientRectOf(KW_IDC_WIZ_LOWER_DIVIDER));
    frame_.back = ToWizardRect(ClientRectOf(KW_IDC_WIZ_BACK));
    frame_.next = ToWizardRect(ClientRectOf(KW_IDC_WIZ_NEXT));
    frame_.close = ToWizardRect(ClientRectOf(IDCANCEL));
    frame_.list = ToWizardRect(ClientRectOf(KW_IDC_WIZ_RESULTS));
    auto measure = [this](const int* ids, std::size_t count, auto* rects, WizardRect* bounds) {
        for (std::size_t i = 0; i < count; ++i) {
            rects->emplace_back(ids[i], ClientRectOf(ids[i]));
            WizardRect r = ToWizardRect(rects->back().second);
            *bounds = i == 0 ? r : Union(*bounds, r);
        }
    };
    measure(kSideButtons, std::size(kSideButtons), &sideRects_, &frame_.sideButtons);
    measure(kProgressLabels, std::size(kProgressLabels), &progressRects_, &frame_.progress);
    RECT gap{0, 0, 0, kGapUnits};
    MapDialogRect(hwnd(), &gap);
    frame_.gap = gap.bottom;
    RECT window{};
    GetWindowRect(hwnd(), &window);
    minSize_ = POINT{window.right - window.left, window.bottom - window.top};
}

void WizardWindow::LayOut(WizardState state) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const WizardPlacement p = LayOutWizard(frame_, client.right, client.bottom, state);
    auto move = [](HWND control, const WizardRect& r) {
        if (control)
            MoveWindow(control, r.left, r.top, r.width(), r.height(), FALSE);
    };
    move(Item(KW_IDC_WIZ_UPPER_DIVIDER), p.upperDivider);
    move(Item(KW_IDC_WIZ_LOWER_DIVIDER), p.lowerDivider);
    move(Item(KW_IDC_WIZ_BACK), p.back);
    move(Item(KW_IDC_WIZ_NEXT), p.next);
    move(Item(IDCANCEL), p.close);
    move(list_, p.list);
    move(detail_, p.detail);
    for (const auto& [id, r] : sideRects_)
        move(Item(id), WizardRect{r.left + p.sideShift, r.top, r.right + p.sideShift, r.bottom});
    for (const auto& [id, r] : progressRects_)
        move(Item(id),
             WizardRect{r.left, r.top + p.progressShift, r.right, r.bottom + p.progressShift});
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, p.column0);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void WizardWindow::PlaceWindow() {
    PlaceSavedWindow(hwnd(), kSettingReplaceWindowPos, minSize_);
}

void WizardWindow::SaveSettings() {
    SaveCriteria(AddinSettings(), ReadCriteria());
    SaveWindowPlace(hwnd(), kSettingReplaceWindowPos);
}

void WizardWindow::EnableRootChecks() {
    const bool whole = IsChecked(KW_IDC_WIZ_ALL);
    for (int id : kRootChecks)
        EnableItem(id, whole);
}

WizardCriteria WizardWindow::ReadCriteria() {
    WizardCriteria c;
    c.findText = kestrix::AnsiFromWide(ItemText(KW_IDC_WIZ_FIND));
    c.replacementText = kestrix::AnsiFromWide(ItemText(KW_IDC_WIZ_REPLACE));
    for (const CheckBinding& check : kChecks)
        c.*check.field = IsChecked(check.id);
    c.wholeRegistry = IsChecked(KW_IDC_WIZ_ALL);
    return c;
}

void WizardWindow::ShowState(WizardState state, const WizardScreen& screen) {
    LayOut(state);
    // Other pages' controls go first, so that a control of both pages stays.
    for (bool entering : {false, true}) {
        for (const ControlBinding& c : kControls) {
            if (c.role >= kFirstFixedControl || OnPage(c.role, state) != entering)
                continue;
            ShowWindow(Item(c.id), entering ? SW_SHOW : SW_HIDE);
            EnableItem(c.id, entering);
        }
    }
    EnableItem(KW_IDC_WIZ_BACK, screen.backEnabled);
    EnableItem(KW_IDC_WIZ_NEXT, screen.nextEnabled);
    const std::pair<int, ButtonSetting> buttons[] = {{KW_IDC_WIZ_APPLY, screen.apply},
                                                     {KW_IDC_WIZ_UNDO, screen.undo}};
    for (const auto& [id, setting] : buttons)
        if (setting != ButtonSetting::Unchanged)
            EnableItem(id, setting == ButtonSetting::Enabled);
    if (screen.closeText)
        SetItemText(IDCANCEL, Text(screen.closeText));
    SetWindowTextW(hwnd(), Text(screen.title).c_str());
    HWND focus = Item(screen.focus == WizardFocus::Next ? KW_IDC_WIZ_NEXT : IDCANCEL);
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    SetItemText(KW_IDC_WIZ_INFO, Text(screen.stepText));
    for (int box = 0; box < 4; ++box)
        SetChecked(kStepBoxes[box], screen.stepTicked[box]);
    if (state == kStateReview && SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0) > 0) {
        SelectRow(0);
        // The row may have been selected before this step, when no change is notified.
        ShowSelectedDetail();
        Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
    }
    if (state == kStateDefine)
        EnableRootChecks();
}

void WizardWindow::ClearResults() {
    // Each row's LVN_DELETEITEM frees it.
    SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    ShowDetail(detail_, {});
}

bool WizardWindow::StartSearch(RegistrySearch& search) {
    if (HWND tree = Addin().editor.tree) {
        EditorTreeView view(tree);
        SetSearchScope(search, view, reinterpret_cast<TreeItem>(CaretItem(tree)),
                       CurrentKeyPath(tree));
    }
    progress_.Reset();
    run_->Restart();
    for (int id : kCountLabels)
        SetItemText(id, L"");
    SetItemText(KW_IDC_WIZ_SEARCH_STATE, L"");
    return Start(search);
}

void WizardWindow::ShowRunning(bool running) {
    EnableItem(KW_IDC_WIZ_STOP, running);
    if (running)
        oldCursor_ = SetCursor(SystemCursor(IDC_WAIT));
    else if (oldCursor_)
        SetCursor(oldCursor_);
}

std::vector<ResultRow*> WizardWindow::Rows() {
    std::vector<ResultRow*> rows;
    const int count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back(reinterpret_cast<ResultRow*>(item.lParam));
    }
    return rows;
}

void WizardWindow::SetCell(int row, int column, const std::wstring& text) {
    std::wstring copy = text;
    LVITEMW sub{};
    sub.iSubItem = column;
    sub.pszText = &copy[0];
    SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
}

void WizardWindow::ShowApplied() {
    const std::vector<ResultRow*> rows = Rows();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i])
            SetCell(static_cast<int>(i), 2, Text(AppliedTextOf(rows[i]->applied)));
}

void WizardWindow::RefreshEditor() {
    AddinContext& context = Addin();
    if (context.editor.frame && context.profile)
        SendMessageW(context.editor.frame, WM_COMMAND, context.profile->cmdRefresh, 0);
}

void WizardWindow::TakeHits() {
    std::vector<std::unique_ptr<SearchHit>> hits = run_->TakeHits();
    if (hits.empty())
        return;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    for (auto& hit : hits) {
        std::unique_ptr<ResultRow> row = wizard_->RowFor(std::move(hit));
        if (!row)
            continue;
        std::wstring result = kestrix::WideFromAnsi(row->resultText);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = INT_MAX;
        item.pszText = &result[0];
        item.lParam = reinterpret_cast<LPARAM>(row.get());
        int index = static_cast<int>(
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (index < 0)
            continue;
        ResultRow* owned = row.release(); // the list's now, freed at LVN_DELETEITEM
        SetCell(index, 1, Text(TypeTextOf(*owned->hit)));
        SetCell(index, 2, Text(AppliedTextOf(owned->applied)));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void WizardWindow::TakeProgress() {
    const StatusTexts texts = progress_.Show(run_->TakeProgress());
    // The state label, then the keys', values' and data's counts.
    if (texts[0])
        SetItemText(KW_IDC_WIZ_SEARCH_STATE, kestrix::WideFromAnsi(*texts[0]));
    for (std::size_t i = 1; i < texts.size(); ++i)
        if (texts[i])
            SetItemText(kCountLabels[i - 1], kestrix::WideFromAnsi(*texts[i]));
}

void WizardWindow::SelectRow(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE);
}

void WizardWindow::ShowSelectedDetail() {
    const int row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    const std::vector<ResultRow*> rows = Rows();
    if (row < 0 || row >= static_cast<int>(rows.size()) || !rows[row]) {
        ShowDetail(detail_, {});
        return;
    }
    ShowDetail(detail_, DetailSegments(*rows[row]->hit));
}

void WizardWindow::RemoveSelected() {
    std::vector<int> selected;
    for (int row = -1;
         (row = static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        selected.push_back(row);
    if (selected.empty())
        return;
    const int before = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        SendMessageW(list_, LVM_DELETEITEM, *it, 0);
    const int next = RowToSelectAfterRemove(selected, before);
    if (next >= 0)
        SelectRow(next);
    else
        ShowDetail(detail_, {});
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
}

void WizardWindow::ShowHelp(const HELPINFO& info) {
    const ControlBinding* binding =
        info.iContextType == HELPINFO_WINDOW ? BindingOfId(info.iCtrlId) : nullptr;
    if (unsigned text = binding ? HelpTextOf(binding->role) : 0)
        help_.Show(hwnd(), static_cast<HWND>(info.hItemHandle), Text(text));
}

bool WizardWindow::OnNotify(NMHDR& header, LRESULT&) {
    if (header.hwndFrom != list_)
        return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (header.code == LVN_DELETEITEM) {
        if (change.lParam)
            delete reinterpret_cast<ResultRow*>(change.lParam);
        else
            ShowProgramMessage(kStrRowDataLost);
    } else if (header.code == LVN_ITEMCHANGED && wizard_->state() == kStateReview &&
               (change.uChanged & LVIF_STATE) &&
               ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
        ShowSelectedDetail();
    }
    // LVN_DELETEALLITEMS answered 0: one LVN_DELETEITEM for each row.
    return false;
}

bool WizardWindow::OnCommand(WORD id, WORD, HWND) {
    help_.Hide();
    switch (id) {
    case KW_IDC_WIZ_NEXT:
        wizard_->Next();
        return true;
    case KW_IDC_WIZ_BACK:
        wizard_->Back();
        return true;
    case KW_IDC_WIZ_APPLY:
    case KW_IDC_WIZ_UNDO: {
        // Both run on this thread until every row is done.
        HCURSOR old = SetCursor(SystemCursor(IDC_WAIT));
        id == KW_IDC_WIZ_APPLY ? wizard_->Apply() : wizard_->Undo();
        SetCursor(old);
        return true;
    }
    case KW_IDC_WIZ_STOP:
        wizard_->Stop();
        SetCursor(oldCursor_);
        return true;
    case KW_IDC_WIZ_REMOVE:
        RemoveSelected();
        return true;
    case KW_IDC_WIZ_ALL:
    case KW_IDC_WIZ_SELECTED:
        EnableRootChecks();
        return true;
    case IDCANCEL:
        // Cancel and Done close as the close box does: a running search stops first.
        OnClose();
        return true;
    default:
        return false;
    }
}

bool WizardWindow::OnClose() {
    if (wizard_->Close())
        Destroy();
    return true;
}

bool WizardWindow::OnSize(UINT, int, int) {
    LayOut(wizard_->state());
    return true;
}

bool WizardWindow::OnTimer(UINT_PTR id) {
    if (id != HelpPopup::kTimerId)
        return false;
    help_.Hide();
    return true;
}

bool WizardWindow::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case kMsgSearchTakeHits:
        TakeHits();
        return true;
    case kMsgSearchTakeProgress:
        TakeProgress();
        return true;
    case kMsgWizardSearchDone:
        // Every hit and the last progress were queued before the done message.
        TakeHits();
        TakeProgress();
        if (wizard_->SearchDone())
            Destroy();
        return true;
    case WM_HELP:
        ShowHelp(*reinterpret_cast<const HELPINFO*>(lParam));
        result = TRUE;
        return true;
    case WM_SETCURSOR:
        if (!wizard_ || !wizard_->running())
            return false;
        SetCursor(SystemCursor(IDC_APPSTARTING));
        result = TRUE;
        return true;
    case WM_GETMINMAXINFO:
        if (minSize_.x == 0)
            return false; // not measured yet
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minSize_;
        return true;
    default:
        return false;
    }
}

void WizardWindow::OnDestroy() {
    help_.Hide();
    run_->Attach(nullptr);
    if (wizard_->running())
        Stop(run_->search);
    else
        SaveSettings();
    // The rows go while this object can still free them.
    ClearResults();
}

} // namespace

HWND OpenReplaceWizard(HWND frame) {
    ShowAddinMessage(frame, OpeningWarning(), MB_OK | MB_ICONEXCLAMATION);
    return OpenModelessWindow(std::make_unique<WizardWindow>(), KW_IDD_REPLACE_WIZARD);
}

} // namespace keywright
