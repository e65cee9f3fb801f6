// The property bar: the definition pages "Search", "Replace" and "Examples" on a row of
// tabs, with the buttons that start and stop a search. It folds to its row of tabs while
// a search runs.
#include "app/win32/PropertyBar.h"

#include <commctrl.h>

#include <algorithm>

#include "app/FrameLayout.h"
#include "app/win32/PropertyBarIds.h"
#include "app/win32/ReplaceDefinitionPageIds.h"
#include "app/win32/SearchDefinitionPageIds.h"
#include "app/win32/SearchExamplePageIds.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/WideText.h"
#include "app/win32/WindowPlacement.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// The pages in the order of their tabs.
struct PageEntry {
    CDefinitionPageKind kind;
    unsigned caption;
    int dialog;
};
constexpr PageEntry kPages[] = {
    {CDefinitionPageKind::Search, IDS_PAGE_SEARCH, IDD_SEARCH_PAGE},
    {CDefinitionPageKind::Replace, IDS_PAGE_REPLACE, IDD_REPLACE_PAGE},
    {CDefinitionPageKind::Examples, IDS_PAGE_EXAMPLES, IDD_EXAMPLES_PAGE},
};
constexpr int kMarginPixels = 4;
// A button's size in dialog units.
constexpr int kButtonWidthUnits = 50;
constexpr int kButtonHeightUnits = 14;

} // namespace

HWND CPropertyBar::CreateIn(HINSTANCE instance, HWND frame) {
    instance_ = instance;
    frame_ = frame;
    const HWND bar = CreateChild(instance, IDD_PROPERTY_BAR, frame);
    if (bar)
        ShowWindow(bar, SW_SHOW);
    return bar;
}

kestrix::ui::Dialog& CPropertyBar::Page(CDefinitionPageKind page) {
    switch (page) {
    case CDefinitionPageKind::Replace:
        return replace_;
    case CDefinitionPageKind::Examples:
        return examples_;
    case CDefinitionPageKind::Search:
        break;
    }
    return search_;
}

bool CPropertyBar::OnInit() {
    RECT button{0, 0, kButtonWidthUnits, kButtonHeightUnits};
    MapDialogRect(hwnd(), &button);
    buttonWidth_ = button.right;
    buttonHeight_ = button.bottom;
    const HWND tabs = Item(IDC_PAGE_TABS);
    SendMessageW(tabs, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
    for (const PageEntry& entry : kPages) {
        std::wstring caption = Wide(SorbexString(entry.caption));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = &caption[0];
        SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0),
                     reinterpret_cast<LPARAM>(&item));
        Page(entry.kind).CreateChild(instance_, entry.dialog, hwnd());
    }
    ActivatePage(CDefinitionPageKind::Search);
    return false;
}

void CPropertyBar::ActivatePage(CDefinitionPageKind page) {
    active_ = page;
    SendItem(IDC_PAGE_TABS, TCM_SETCURSEL, static_cast<WPARAM>(page));
    if (page == CDefinitionPageKind::Replace)
        replace_.ShowSearchExpression(search_.Values().expression);
    Layout();
}

void CPropertyBar::StartFold(bool folded) {
    folded_ = folded;
    moving_ = true;
    Layout();
}

void CPropertyBar::EndFold() {
    moving_ = false;
    Layout();
}

CBarFold CPropertyBar::FoldState() const {
    if (moving_)
        return CBarFold::Moving;
    return folded_ ? CBarFold::Folded : CBarFold::Open;
}

RECT CPropertyBar::TabsRect() const {
    RECT rect{};
    const HWND tabs = GetDlgItem(hwnd(), IDC_PAGE_TABS);
    GetWindowRect(tabs, &rect);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<CCommandBinding> CPropertyBar::ButtonBindings() {
    return {{IDC_START, CCommand::StartSearching}, {IDC_STOP, CCommand::CancelSearching}};
}

void CPropertyBar::StoreOptions() const {
    search_.StoreOptions();
    replace_.StoreOptions();
}

bool CPropertyBar::OnSize(UINT, int width, int height) {
    if (width != laidOut_.cx || height != laidOut_.cy || FoldState() != laidOutFold_)
        Layout();
    return true;
}

void CPropertyBar::Layout() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const CBarFold fold = FoldState();
    laidOut_ = {client.right, client.bottom};
    laidOutFold_ = fold;
    CPropertyBarMetrics metrics;
    metrics.margin = kMarginPixels;
    metrics.buttonWidth = buttonWidth_;
    metrics.buttonHeight = buttonHeight_;
    RECT header{};
    SendItem(IDC_PAGE_TABS, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&header));
    metrics.buttonTop = header.bottom + kMarginPixels;
    const CPropertyBarLayout layout = LayOutPropertyBar(client.right, client.bottom, metrics, fold);
    const CRect& t = layout.tabs;
    MoveChild(Item(IDC_PAGE_TABS), t.left, t.top, t.width(), t.height());
    MoveChild(Item(IDC_START), layout.start.left, layout.start.top, layout.start.width(),
              layout.start.height());
    MoveChild(Item(IDC_STOP), layout.stop.left, layout.stop.top, layout.stop.width(),
              layout.stop.height());
    ShowWindow(Item(IDC_START), layout.pagesVisible ? SW_SHOW : SW_HIDE);
    ShowWindow(Item(IDC_STOP), layout.pagesVisible ? SW_SHOW : SW_HIDE);
    RECT display{t.left, t.top, t.right, t.bottom};
    SendItem(IDC_PAGE_TABS, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    for (const PageEntry& entry : kPages) {
        const HWND page = Page(entry.kind).hwnd();
        if (!page)
            continue;
        const bool shown = layout.pagesVisible && entry.kind == active_;
        if (shown)
            SetWindowPos(page, HWND_TOP, display.left, display.top, display.right - display.left,
                         display.bottom - display.top, SWP_SHOWWINDOW);
        else
            ShowWindow(page, SW_HIDE);
    }
}

bool CPropertyBar::OnCommand(WORD id, WORD, HWND) {
    // The buttons are the frame's commands.
    switch (id) {
    case IDC_START:
    case IDOK:
        SendMessageW(frame_, WM_COMMAND, MAKEWPARAM(ID_START_SEARCHING, 0), 0);
        return true;
    case IDC_STOP:
        SendMessageW(frame_, WM_COMMAND, MAKEWPARAM(ID_CANCEL_SEARCHING, 0), 0);
        return true;
    default:
        return false;
    }
}

bool CPropertyBar::OnNotify(NMHDR& header, LRESULT&) {
    if (header.idFrom != IDC_PAGE_TABS)
        return false;
    if (header.code == TCN_SELCHANGE) {
        const auto index = static_cast<int>(SendItem(IDC_PAGE_TABS, TCM_GETCURSEL));
        ActivatePage(static_cast<CDefinitionPageKind>(index < 0 ? 0 : index));
        listener_.DefinitionPageChanged();
        if (folded_)
            listener_.UnfoldRequested();
        return true;
    }
    if (header.code == NM_CLICK && folded_) {
        listener_.UnfoldRequested();
        return true;
    }
    return false;
}

} // namespace sorbex
