// The replacement wizard's window: it binds the portable wizard's controls, pages and
// rows to dialog 215, its result list and its detail window, and feeds it the search.
#include "wizard/win32/WizardWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "registry/win32/SearchFeed.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"
#include "strings/KeywrightStrings.h"
#include "wizard/ReplaceWizard.h"
#include "wizard/WizardLayout.h"
#include "wizard/WizardSettings.h"
#include "wizard/WizardStrings.h"
#include "wizard/ProgressLabels.h"
#include "wizard/win32/WizardDetail.h"
#include "wizard/win32/WizardWindowIds.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <string>
#include <vector>

namespace keywright {

namespace {

constexpr UINT kMsgSearchDone = 0x8003; // WM_APP + 3
constexpr UINT kMsgTakeHits = WM_APP + 30;
constexpr UINT kMsgTakeProgress = WM_APP + 31;
constexpr int kGapUnits = 4;           // dialog units between the list and what lies below
constexpr std::size_t kTextLimit = 255; // each of the two texts
constexpr std::size_t kPositionText = 64;

struct ControlBinding {
    WizardControl role;
    int id;
};

constexpr ControlBinding kControls[] = {
    {kCtlWhatGroup, KW_IDC_WIZ_WHAT},
    {kCtlFindLabel, KW_IDC_WIZ_FIND_LABEL},
    {kCtlFind, KW_IDC_WIZ_FIND},
    {kCtlReplaceLabel, KW_IDC_WIZ_REPLACE_LABEL},
    {kCtlReplace, KW_IDC_WIZ_REPLACE},
    {kCtlReplaceInGroup, KW_IDC_WIZ_REPLACE_IN},
    {kCtlKeys, KW_IDC_WIZ_KEYS},
    {kCtlValues, KW_IDC_WIZ_VALUES},
    {kCtlData, KW_IDC_WIZ_DATA},
    {kCtlMatchGroup, KW_IDC_WIZ_MATCH},
    {kCtlCase, KW_IDC_WIZ_CASE},
    {kCtlWholeString, KW_IDC_WIZ_WHOLE_STRING},
    {kCtlSearchInGroup, KW_IDC_WIZ_SEARCH_IN},
    {kCtlWholeRegistry, KW_IDC_WIZ_ALL},
    {kCtlSelectedKey, KW_IDC_WIZ_SELECTED},
    {kCtlHkcr, KW_IDC_WIZ_HKCR},
    {kCtlHkcu, KW_IDC_WIZ_HKCU},
    {kCtlHklm, KW_IDC_WIZ_HKLM},
    {kCtlHku, KW_IDC_WIZ_HKU},
    {kCtlHkcc, KW_IDC_WIZ_HKCC},
    {kCtlHkdd, KW_IDC_WIZ_HKDD},
    {kCtlList, KW_IDC_WIZ_RESULTS},
    {kCtlStop, KW_IDC_WIZ_STOP},
    {kCtlKeysLabel, KW_IDC_WIZ_KEYS_LABEL},
    {kCtlKeysCount, KW_IDC_WIZ_KEYS_COUNT},
    {kCtlValuesLabel, KW_IDC_WIZ_VALUES_LABEL},
    {kCtlValuesCount, KW_IDC_WIZ_VALUES_COUNT},
    {kCtlDataLabel, KW_IDC_WIZ_DATA_LABEL},
    {kCtlDataCount, KW_IDC_WIZ_DATA_COUNT},
    {kCtlSearchState, KW_IDC_WIZ_SEARCH_STATE},
    {kCtlRemove, KW_IDC_WIZ_REMOVE},
    {kCtlDetail, KW_IDC_WIZ_DETAIL},
    {kCtlApply, KW_IDC_WIZ_APPLY},
    {kCtlUndo, KW_IDC_WIZ_UNDO},
    {kCtlInfo, KW_IDC_WIZ_INFO},
    {kCtlStep1, KW_IDC_WIZ_STEP1},
    {kCtlStep2, KW_IDC_WIZ_STEP2},
    {kCtlStep3, KW_IDC_WIZ_STEP3},
    {kCtlStep4, KW_IDC_WIZ_STEP4},
    {kCtlBack, KW_IDC_WIZ_BACK},
    {kCtlNext, KW_IDC_WIZ_NEXT},
    {kCtlClose, IDCANCEL},
    {kCtlUpperDivider, KW_IDC_WIZ_UPPER_DIVIDER},
    {kCtlLowerDivider, KW_IDC_WIZ_LOWER_DIVIDER},
};
static_assert(sizeof kControls / sizeof kControls[0] == kWizardControlCount,
              "every control bound once");

// Step 1's check boxes and what they choose.
struct CheckBinding {
    int id;
    bool WizardCriteria::*field;
};

constexpr CheckBinding kChecks[] = {
    {KW_IDC_WIZ_KEYS, &WizardCriteria::keys},   {KW_IDC_WIZ_VALUES, &WizardCriteria::values},
    {KW_IDC_WIZ_DATA, &WizardCriteria::data},   {KW_IDC_WIZ_CASE, &WizardCriteria::matchCase},
    {KW_IDC_WIZ_WHOLE_STRING, &WizardCriteria::wholeString},
    {KW_IDC_WIZ_HKCR, &WizardCriteria::hkcr},   {KW_IDC_WIZ_HKCU, &WizardCriteria::hkcu},
    {KW_IDC_WIZ_HKLM, &WizardCriteria::hklm},   {KW_IDC_WIZ_HKU, &WizardCriteria::hku},
    {KW_IDC_WIZ_HKCC, &WizardCriteria::hkcc},   {KW_IDC_WIZ_HKDD, &WizardCriteria::hkdd},
};

constexpr int kRootChecks[] = {KW_IDC_WIZ_HKCR, KW_IDC_WIZ_HKCU, KW_IDC_WIZ_HKLM,
                               KW_IDC_WIZ_HKU,  KW_IDC_WIZ_HKCC, KW_IDC_WIZ_HKDD};
constexpr int kStepBoxes[] = {KW_IDC_WIZ_STEP1, KW_IDC_WIZ_STEP2, KW_IDC_WIZ_STEP3,
                              KW_IDC_WIZ_STEP4};
// Beside the list's top, moving with the right edge.
constexpr int kSideButtons[] = {KW_IDC_WIZ_STOP, KW_IDC_WIZ_REMOVE, KW_IDC_WIZ_APPLY,
                                KW_IDC_WIZ_UNDO};
// Under the list in step 2, moving with the lower edge.
constexpr int kProgressLabels[] = {KW_IDC_WIZ_KEYS_LABEL,   KW_IDC_WIZ_KEYS_COUNT,
                                   KW_IDC_WIZ_VALUES_LABEL, KW_IDC_WIZ_VALUES_COUNT,
                                   KW_IDC_WIZ_DATA_LABEL,   KW_IDC_WIZ_DATA_COUNT,
                                   KW_IDC_WIZ_SEARCH_STATE};
constexpr int kCountLabels[] = {KW_IDC_WIZ_KEYS_COUNT, KW_IDC_WIZ_VALUES_COUNT,
                                KW_IDC_WIZ_DATA_COUNT};

struct Column {
    unsigned title;
    int width; // column 0 is then laid out from the list's width
};
constexpr Column kColumns[] = {{kStrColumnResult, 300}, {kStrColumnType, 45}, {kStrColumnApplied, 75}};

const ControlBinding* BindingOfId(int id) {
    for (const ControlBinding& c : kControls)
        if (c.id == id)
            return &c;
    return nullptr;
}

WizardRect ToWizardRect(const RECT& r) {
    return WizardRect{r.left, r.top, r.right, r.bottom};
}

WizardRect Union(const WizardRect& a, const WizardRect& b) {
    return WizardRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                      std::max(a.bottom, b.bottom)};
}

class WizardWindow final : public WizardView, public SearchOwner {
public:
    explicit WizardWindow(HWND dialog);

    void AddRef() override { ++holders_; }
    void Release() override {
        if (--holders_ == 0)
            delete this;
    }

    void Init();
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // WizardView.
    WizardCriteria ReadCriteria() override;
    void ShowState(WizardState state, const WizardScreen& screen) override;
    void ClearResults() override;
    bool StartSearch(RegistrySearch& search) override;
    void ShowRunning(bool running) override;
    std::vector<ResultRow*> Rows() override;
    void ShowApplied() override;
    void RefreshEditor() override;
    void ShowMessage(const std::string& text) override { ShowAddinMessage(dialog_, text); }

private:
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    RECT ClientRectOf(int id) const;
    bool IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void SetCheck(int id, bool on) { CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED); }
    void EnableRootChecks();
    void MeasureFrame();
    void LayOut(WizardState state);
    void PlaceWindow();
    void SaveSettings();
    void TakeHits();
    void TakeProgress();
    void ShowSelectedDetail();
    void RemoveSelected();
    void SelectRow(int row);
    void OnNotify(const NMHDR* header);
    void OnCommand(int id);
    void OnDestroy();

    static void OnHit(void* context, std::unique_ptr<SearchHit> hit) {
        static_cast<WizardWindow*>(context)->feed_.AddHit(std::move(hit));
    }
    static void OnProgress(void* context, const SearchProgress& progress) {
        static_cast<WizardWindow*>(context)->feed_.SetProgress(progress);
    }

    HWND dialog_;
    HWND list_ = nullptr;
    HWND detail_ = nullptr;
    std::atomic<int> holders_{1};
    SearchFeed feed_;
    RegistrySearch search_;
    ReplaceWizard wizard_;
    ProgressLabels progress_;
    WizardFrame frame_;
    POINT minSize_{};
    std::vector<std::pair<int, RECT>> sideRects_, progressRects_;
    HCURSOR oldCursor_ = nullptr;
    HelpPopup help_;
};

WizardWindow* WindowOf(HWND dialog) {
    return reinterpret_cast<WizardWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

WizardMessages MakeMessages(HWND dialog) {
    WizardMessages messages;
    // These two kinds have neither owner nor caption.
    messages.bare = [](const std::string& text) {
        MessageBoxA(nullptr, text.c_str(), nullptr, MB_OK);
    };
    messages.owned = [dialog](const std::string& text) { ShowAddinMessage(dialog, text); };
    return messages;
}

RegistryAccess MakeAccess() {
    HWND frame = Addin().editor.frame;
    return RegistryAccess{&SystemRegistry(), Addin().rootText,
                          [frame](const std::string& text) { ShowAddinMessage(frame, text); }};
}

WizardWindow::WizardWindow(HWND dialog)
    : dialog_(dialog), feed_(dialog, kMsgTakeHits, kMsgTakeProgress),
      search_(MakeSearchEnvironment(this, dialog)),
      wizard_(*this, search_, MakeAccess(), MakeMessages(dialog)) {}

RECT WizardWindow::ClientRectOf(int id) const {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void WizardWindow::Init() {
    HINSTANCE own = Addin().ownInstance;
    if (HICON icon = LoadIconA(own, MAKEINTRESOURCEA(KW_IDI_WIZARD))) {
        SendMessageA(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SendDlgItemMessageA(dialog_, KW_IDC_WIZ_FIND, EM_LIMITTEXT, kTextLimit, 0);
    SendDlgItemMessageA(dialog_, KW_IDC_WIZ_REPLACE, EM_LIMITTEXT, kTextLimit, 0);
    list_ = Item(KW_IDC_WIZ_RESULTS);
    const DWORD style = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, style, style);
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(KeywrightString(kColumns[i].title));
        column.cx = kColumns[i].width;
        SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    detail_ = CreateDetailWindow(dialog_, KW_IDC_WIZ_DETAIL);

    WizardCriteria saved = LoadCriteria(AddinSettings());
    for (const CheckBinding& c : kChecks)
        SetCheck(c.id, saved.*c.field);
    SetCheck(KW_IDC_WIZ_ALL, saved.wholeRegistry);
    SetCheck(KW_IDC_WIZ_SELECTED, !saved.wholeRegistry);

    MeasureFrame();
    PlaceWindow();
    wizard_.Open();
}

void WizardWindow::MeasureFrame() {
    RECT client{};
    GetClientRect(dialog_, &client);
    frame_.firstWidth = client.right;
    frame_.firstHeight = client.bottom;
    frame_.upperDivider = ToWizardRect(ClientRectOf(KW_IDC_WIZ_UPPER_DIVIDER));
    frame_.lowerDivider = ToWizardRect(ClientRectOf(KW_IDC_WIZ_LOWER_DIVIDER));
    frame_.back = ToWizardRect(ClientRectOf(KW_IDC_WIZ_BACK));
    frame_.next = ToWizardRect(ClientRectOf(KW_IDC_WIZ_NEXT));
    frame_.close = ToWizardRect(ClientRectOf(IDCANCEL));
    frame_.list = ToWizardRect(ClientRectOf(KW_IDC_WIZ_RESULTS));
    for (int id : kSideButtons) {
        sideRects_.emplace_back(id, ClientRectOf(id));
        frame_.sideButtons = sideRects_.size() == 1
                                 ? ToWizardRect(sideRects_.back().second)
                                 : Union(frame_.sideButtons, ToWizardRect(sideRects_.back().second));
    }
    for (int id : kProgressLabels) {
        progressRects_.emplace_back(id, ClientRectOf(id));
        frame_.progress = progressRects_.size() == 1
                              ? ToWizardRect(progressRects_.back().second)
                              : Union(frame_.progress, ToWizardRect(progressRects_.back().second));
    }
    RECT gap{0, 0, 0, kGapUnits};
    MapDialogRect(dialog_, &gap);
    frame_.gap = gap.bottom;
    RECT window{};
    GetWindowRect(dialog_, &window);
    minSize_ = POINT{window.right - window.left, window.bottom - window.top};
}

void WizardWindow::LayOut(WizardState state) {
    RECT client{};
    GetClientRect(dialog_, &client);
    const WizardPlacement p = LayOutWizard(frame_, client.right, client.bottom, state);
    auto move = [this](HWND control, const WizardRect& r) {
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
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, p.column0);
    InvalidateRect(dialog_, nullptr, TRUE);
}

void WizardWindow::PlaceWindow() {
    char text[kPositionText] = "-1 -1 -1 -1";
    ReadSetting(AddinSettings(), kSettingReplaceWindowPos, text, sizeof text);
    ScreenRect saved;
    if (ParseWindowPosition(text, &saved)) {
        MoveWindow(dialog_, saved.left, saved.top, std::max<int>(saved.right - saved.left, minSize_.x),
                   std::max<int>(saved.bottom - saved.top, minSize_.y), FALSE);
        return;
    }
    RECT owner{}, own{};
    GetWindowRect(dialog_, &own);
    HWND frame = Addin().editor.frame;
    if (!frame || !GetWindowRect(frame, &owner))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &owner, 0);
    ScreenRect placed = CentreOver(ScreenRect{owner.left, owner.top, owner.right, owner.bottom},
                                   ScreenRect{own.left, own.top, own.right, own.bottom});
    SetWindowPos(dialog_, nullptr, placed.left, placed.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WizardWindow::SaveSettings() {
    SaveCriteria(AddinSettings(), ReadCriteria());
    RECT r{};
    GetWindowRect(dialog_, &r);
    std::string text = FormatWindowPosition(ScreenRect{r.left, r.top, r.right, r.bottom});
    WriteSetting(AddinSettings(), kSettingReplaceWindowPos, text.c_str(),
                 static_cast<std::uint32_t>(text.size() + 1));
}

void WizardWindow::EnableRootChecks() {
    const bool whole = IsChecked(KW_IDC_WIZ_ALL);
    for (int id : kRootChecks)
        EnableWindow(Item(id), whole);
}

WizardCriteria WizardWindow::ReadCriteria() {
    WizardCriteria c;
    char text[kTextLimit + 1] = {};
    GetDlgItemTextA(dialog_, KW_IDC_WIZ_FIND, text, sizeof text);
    c.findText = text;
    GetDlgItemTextA(dialog_, KW_IDC_WIZ_REPLACE, text, sizeof text);
    c.replacementText = text;
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
            EnableWindow(Item(c.id), entering);
        }
    }
    EnableWindow(Item(KW_IDC_WIZ_BACK), screen.backEnabled);
    EnableWindow(Item(KW_IDC_WIZ_NEXT), screen.nextEnabled);
    const std::pair<int, ButtonSetting> buttons[] = {{KW_IDC_WIZ_APPLY, screen.apply},
                                                     {KW_IDC_WIZ_UNDO, screen.undo}};
    for (const auto& [id, setting] : buttons)
        if (setting != ButtonSetting::Unchanged)
            EnableWindow(Item(id), setting == ButtonSetting::Enabled);
    if (screen.closeText)
        SetDlgItemTextA(dialog_, IDCANCEL, KeywrightString(screen.closeText));
    SetWindowTextA(dialog_, KeywrightString(screen.title));
    HWND focus = Item(screen.focus == WizardFocus::Next ? KW_IDC_WIZ_NEXT : IDCANCEL);
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    SetDlgItemTextA(dialog_, KW_IDC_WIZ_INFO, KeywrightString(screen.stepText));
    for (int box = 0; box < 4; ++box)
        SetCheck(kStepBoxes[box], screen.stepTicked[box]);
    if (state == kStateReview && SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0) > 0) {
        SelectRow(0);
        SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
    }
    if (state == kStateDefine)
        EnableRootChecks();
}

void WizardWindow::ClearResults() {
    // Each row's LVN_DELETEITEM frees it.
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    ShowDetail(detail_, {});
}

bool WizardWindow::StartSearch(RegistrySearch& search) {
    SetScopeFromTree(search, Addin().editor.tree);
    progress_.Reset();
    feed_.Restart();
    for (int id : kCountLabels)
        SetDlgItemTextA(dialog_, id, "");
    SetDlgItemTextA(dialog_, KW_IDC_WIZ_SEARCH_STATE, "");
    search.callbackContext = this;
    search.doneMessage = kMsgSearchDone;
    search.hitCallback = &OnHit;
    search.progressCallback = &OnProgress;
    return Start(search) != 0;
}

void WizardWindow::ShowRunning(bool running) {
    EnableWindow(Item(KW_IDC_WIZ_STOP), running);
    if (running)
        oldCursor_ = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    else if (oldCursor_)
        SetCursor(oldCursor_);
}

std::vector<ResultRow*> WizardWindow::Rows() {
    std::vector<ResultRow*> rows;
    const int count = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        rows.push_back(reinterpret_cast<ResultRow*>(item.lParam));
    }
    return rows;
}

void WizardWindow::ShowApplied() {
    const std::vector<ResultRow*> rows = Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i])
            continue;
        LVITEMA sub{};
        sub.iSubItem = 2;
        sub.pszText = const_cast<char*>(KeywrightString(AppliedTextOf(rows[i]->applied)));
        SendMessageA(list_, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&sub));
    }
}

void WizardWindow::RefreshEditor() {
    AddinContext& context = Addin();
    if (context.editor.frame && context.profile)
        SendMessageA(context.editor.frame, WM_COMMAND, context.profile->cmdRefresh, 0);
}

void WizardWindow::TakeHits() {
    std::vector<std::unique_ptr<SearchHit>> hits = feed_.TakeHits();
    if (hits.empty())
        return;
    SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
    for (auto& hit : hits) {
        std::unique_ptr<ResultRow> row = wizard_.RowFor(std::move(hit));
        if (!row)
            continue;
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = INT_MAX;
        item.pszText = const_cast<char*>(row->resultText.c_str());
        item.lParam = reinterpret_cast<LPARAM>(row.get());
        int index = static_cast<int>(
            SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (index < 0)
            continue;
        ResultRow* owned = row.release(); // the list owns it now
        const unsigned texts[2] = {TypeTextOf(*owned->hit), AppliedTextOf(owned->applied)};
        for (int column = 1; column <= 2; ++column) {
            LVITEMA sub{};
            sub.iSubItem = column;
            sub.pszText = const_cast<char*>(KeywrightString(texts[column - 1]));
            SendMessageA(list_, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void WizardWindow::TakeProgress() {
    const ProgressLabelUpdate update = progress_.Update(feed_.TakeProgress());
    if (update.stateText)
        SetDlgItemTextA(dialog_, KW_IDC_WIZ_SEARCH_STATE, KeywrightString(update.stateText));
    for (int i = 0; i < 3; ++i)
        if (update.counts[i])
            SetDlgItemTextA(dialog_, kCountLabels[i], std::to_string(*update.counts[i]).c_str());
}

void WizardWindow::SelectRow(int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(list_, LVM_ENSUREVISIBLE, row, FALSE);
}

void WizardWindow::ShowSelectedDetail() {
    const int row = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
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
         (row = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0;)
        selected.push_back(row);
    if (selected.empty())
        return;
    const int before = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        SendMessageA(list_, LVM_DELETEITEM, *it, 0);
    const int next = RowToSelectAfterRemove(selected, before);
    if (next >= 0)
        SelectRow(next);
    else
        ShowDetail(detail_, {});
    SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list_), TRUE);
}

void WizardWindow::OnNotify(const NMHDR* header) {
    if (header->hwndFrom != list_)
        return;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (header->code == LVN_DELETEITEM) {
        if (change->lParam) {
            delete reinterpret_cast<ResultRow*>(change->lParam);
        } else {
            std::string caption(MAX_PATH, '\0');
            caption.resize(GetModuleFileNameA(nullptr, &caption[0], MAX_PATH));
            MessageBoxA(GetActiveWindow(), KeywrightString(kStrRowDataLost), caption.c_str(),
                        MB_OK);
        }
    } else if (header->code == LVN_ITEMCHANGED && wizard_.state() == kStateReview &&
               (change->uChanged & LVIF_STATE) &&
               ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) {
        ShowSelectedDetail();
    }
}

void WizardWindow::OnCommand(int id) {
    switch (id) {
    case KW_IDC_WIZ_NEXT:
        wizard_.Next();
        break;
    case KW_IDC_WIZ_BACK:
        wizard_.Back();
        break;
    case KW_IDC_WIZ_APPLY:
    case KW_IDC_WIZ_UNDO: {
        // Both run on this thread until every row is done.
        HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        id == KW_IDC_WIZ_APPLY ? wizard_.Apply() : wizard_.Undo();
        SetCursor(old);
        break;
    }
    case KW_IDC_WIZ_STOP:
        wizard_.Stop();
        SetCursor(oldCursor_);
        break;
    case KW_IDC_WIZ_REMOVE:
        RemoveSelected();
        break;
    case KW_IDC_WIZ_ALL:
    case KW_IDC_WIZ_SELECTED:
        EnableRootChecks();
        break;
    case IDCANCEL:
        SendMessageA(dialog_, WM_CLOSE, 0, 0);
        break;
    }
}

void WizardWindow::OnDestroy() {
    help_.Hide();
    if (wizard_.running())
        Stop(search_);
    else
        SaveSettings();
    // The rows go while this window can still free them.
    ClearResults();
    RemoveModelessWindow(dialog_);
    SetWindowLongPtrA(dialog_, DWLP_USER, 0);
}

INT_PTR WizardWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kMsgTakeHits:
        TakeHits();
        return TRUE;
    case kMsgTakeProgress:
        TakeProgress();
        return TRUE;
    case kMsgSearchDone:
        // Every hit and the last progress were queued before the done message.
        TakeHits();
        TakeProgress();
        if (wizard_.SearchDone())
            DestroyWindow(dialog_);
        return TRUE;
    case WM_COMMAND:
        help_.Hide();
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        OnNotify(reinterpret_cast<const NMHDR*>(lParam));
        return FALSE;
    case WM_HELP: {
        const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
        const ControlBinding* binding =
            info->iContextType == HELPINFO_WINDOW ? BindingOfId(info->iCtrlId) : nullptr;
        if (unsigned text = binding ? HelpTextOf(binding->role) : 0)
            help_.Show(dialog_, static_cast<HWND>(info->hItemHandle), KeywrightString(text));
        return TRUE;
    }
    case WM_TIMER:
        if (wParam == HelpPopup::kTimerId)
            help_.Hide();
        return TRUE;
    case WM_SETCURSOR:
        if (!wizard_.running())
            return FALSE;
        SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
        SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minSize_;
        return TRUE;
    case WM_SIZE:
        LayOut(wizard_.state());
        return TRUE;
    case WM_CLOSE:
        if (wizard_.Close())
            DestroyWindow(dialog_);
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        Release();
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK WizardDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* window = new WizardWindow(dialog);
            SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
            window->Init();
            return FALSE; // the wizard has set the focus itself
        }
        WizardWindow* window = WindowOf(dialog);
        return window ? window->Handle(message, wParam, lParam) : FALSE;
    } catch (...) {
        return FALSE;
    }
}

} // namespace

HWND OpenReplaceWizard(HWND frame) {
    ShowAddinMessage(frame, OpeningWarning(), MB_OK | MB_ICONEXCLAMATION);
    HWND dialog = CreateDialogParamA(Addin().ownInstance, MAKEINTRESOURCEA(KW_IDD_REPLACE_WIZARD),
                                     nullptr, &WizardDialogProc, 0);
    if (!dialog)
        return nullptr;
    AddModelessWindow(dialog);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

} // namespace keywright
