// The tab view: the row of result pages (the tab control), the field laid over a tab to
// rename its page, and the page's text in a RichEdit control below the row.
#include "app/win32/TabView.h"

#include <commctrl.h>
#include <richedit.h>

#include "app/PageRow.h"
#include "app/win32/TabViewIds.h"
#include "app/win32/WideText.h"
#include "app/win32/WindowPlacement.h"
#include "platform/win32/ui/FailureGuard.h"
#include "platform/win32/ui/Gdi.h"

namespace sorbex {
namespace {

constexpr wchar_t kTabViewClass[] = L"SorbexTabView";

CTabView* ViewOf(HWND child) {
    return dynamic_cast<CTabView*>(kestrix::ui::Window::FromHandle(GetParent(child)));
}

HFONT RowFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The height of the text "Gg" in the row's font.
int SampleTextHeight(HWND window) {
    kestrix::ui::WindowDc dc(window);
    kestrix::ui::SelectedObject font(dc.get(), RowFont());
    SIZE size{};
    const std::wstring sample = Wide(kTabRowSampleText);
    GetTextExtentPoint32W(dc.get(), sample.c_str(), static_cast<int>(sample.size()), &size);
    return size.cy;
}

} // namespace

CTabView::CTabView(CTabViewListener& listener) : listener_(listener) {}

CTabView::~CTabView() = default;

HWND CTabView::CreateIn(HINSTANCE instance, HWND frame, int id) {
    kestrix::ui::WindowClassParams params;
    params.instance = instance;
    params.name = kTabViewClass;
    params.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    kestrix::ui::RegisterWindowClass(params);
    kestrix::ui::WindowParams window;
    window.instance = instance;
    window.className = kTabViewClass;
    window.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    window.parent = frame;
    window.childId = id;
    window.x = window.y = 0;
    window.width = window.height = 0;
    return Create(window);
}

bool CTabView::OnCreate(const CREATESTRUCTW& create) {
    row_ = CreateWindowExW(
        0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER | TCS_TABS,
        0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IDC_PAGE_ROW), create.hInstance, nullptr);
    if (!row_ || !LoadRichEdit())
        return false;
    SendMessageW(row_, WM_SETFONT, reinterpret_cast<WPARAM>(RowFont()), FALSE);
    rowHeight_ = TabRowHeight(SampleTextHeight(hwnd()));
    rowHook_ = std::make_unique<kestrix::ui::WindowSubclass>(row_, &CTabView::RowProcedure);
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, kRichEditClass, L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                          ES_READONLY | ES_NOHIDESEL | ES_AUTOVSCROLL,
                                      0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IDC_RESULT_VIEW),
                                      create.hInstance, nullptr);
    if (!edit)
        return false;
    // The default limit of 32,767 characters would cut large pages short.
    SendMessageW(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SendMessageW(edit, EM_SETEVENTMASK, 0, ENM_SELCHANGE | ENM_MOUSEEVENTS | ENM_KEYEVENTS);
    surface_.Attach(edit);
    return true;
}

void CTabView::OnDestroy() {
    renameHook_.reset();
    rowHook_.reset();
}

bool CTabView::OnSize(UINT, int, int) {
    Layout();
    return true;
}

void CTabView::Layout() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    // The fold changes only the text's height: the row stays as it is.
    if (!ChildStandsAt(row_, 0, 0, client.right, rowHeight_)) {
        MoveWindow(row_, 0, 0, client.right, rowHeight_, TRUE);
        SendMessageW(row_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, rowHeight_ - 2));
    }
    const int top = rowHeight_ < client.bottom ? rowHeight_ : client.bottom;
    const int bottom = heldHeight_ > client.bottom ? heldHeight_ : client.bottom;
    MoveChild(surface_.edit(), 0, top, client.right, bottom - top);
}

void CTabView::HoldHeight(int height) {
    heldHeight_ = height;
    Layout();
}

void CTabView::ShowPages(const std::vector<std::string>& captions, std::size_t current) {
    if (renaming())
        EndRename(false);
    // A run shows its page at its start and again at its end: a row that holds these
    // captions with this tab selected is left as it is.
    const LRESULT selected = current < captions.size() ? static_cast<LRESULT>(current) : -1;
    if (captions == shownCaptions_ && SendMessageW(row_, TCM_GETCURSEL, 0, 0) == selected)
        return;
    shownCaptions_ = captions;
    showingPages_ = true;
    SendMessageW(row_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(row_, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        std::wstring text = Wide(captions[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = &text[0];
        SendMessageW(row_, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    if (current < captions.size())
        SendMessageW(row_, TCM_SETCURSEL, current, 0);
    SendMessageW(row_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(row_, nullptr, TRUE);
    showingPages_ = false;
}

void CTabView::BeginRename(std::size_t index) {
    if (renaming())
        EndRename(true);
    RECT tab{};
    if (!SendMessageW(row_, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tab)))
        return;
    wchar_t caption[512] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = static_cast<int>(sizeof caption / sizeof caption[0]);
    SendMessageW(row_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    // A field with a sunken edge in the row's font, laid over the tab.
    MapWindowPoints(row_, hwnd(), reinterpret_cast<POINT*>(&tab), 2);
    rename_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", caption, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, tab.left,
        tab.top, tab.right - tab.left + rowHeight_ * 2, tab.bottom - tab.top, hwnd(),
        reinterpret_cast<HMENU>(IDC_RENAME_FIELD), GetModuleHandleW(nullptr), nullptr);
    if (!rename_)
        return;
    renameIndex_ = static_cast<int>(index);
    SendMessageW(rename_, WM_SETFONT, reinterpret_cast<WPARAM>(RowFont()), FALSE);
    SetWindowPos(rename_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    renameHook_ =
        std::make_unique<kestrix::ui::WindowSubclass>(rename_, &CTabView::RenameProcedure);
    SendMessageW(rename_, EM_SETSEL, 0, -1);
    SetFocus(rename_);
}

void CTabView::EndRename(bool keep) {
    if (!renaming())
        return;
    const auto index = static_cast<std::size_t>(renameIndex_);
    const std::string caption = Narrow(kestrix::ui::WindowText(rename_));
    // Cleared first: destroying the field takes its focus away, which ends a rename.
    renameIndex_ = -1;
    renameHook_.reset();
    const HWND field = rename_;
    rename_ = nullptr;
    DestroyWindow(field);
    if (keep && !caption.empty())
        listener_.PageRenamed(index, caption);
}

LRESULT CALLBACK CTabView::RowProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return kestrix::ui::Guarded(
        w, m, [&] { return ViewOf(w)->RowMessage(w, m, wp, lp); },
        [&] { return kestrix::ui::CallPrevious(w, m, wp, lp); });
}

LRESULT CALLBACK CTabView::RenameProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return kestrix::ui::Guarded(
        w, m, [&] { return ViewOf(w)->RenameMessage(w, m, wp, lp); },
        [&] { return kestrix::ui::CallPrevious(w, m, wp, lp); });
}

LRESULT CTabView::RowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDBLCLK) {
        TCHITTESTINFO hit{};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const auto index =
            static_cast<int>(SendMessageW(window, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (index >= 0)
            listener_.RenameRequested(static_cast<std::size_t>(index));
        return 0;
    }
    return kestrix::ui::CallPrevious(window, message, wParam, lParam);
}

LRESULT CTabView::RenameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            EndRename(wParam == VK_RETURN);
            return 0;
        }
        break;
    case WM_CHAR:
        // Enter and Escape ended the rename already; the field must not beep.
        if (wParam == L'\r' || wParam == 0x1B)
            return 0;
        break;
    default:
        break;
    }
    return kestrix::ui::CallPrevious(window, message, wParam, lParam);
}

bool CTabView::OnCommand(WORD id, WORD code, HWND) {
    if (id == IDC_RENAME_FIELD && code == EN_KILLFOCUS) {
        EndRename(true);
        return true;
    }
    return false;
}

bool CTabView::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom == row_) {
        if (header.code == TCN_SELCHANGE && !showingPages_) {
            const auto index = static_cast<int>(SendMessageW(row_, TCM_GETCURSEL, 0, 0));
            if (index >= 0)
                listener_.PageSelected(static_cast<std::size_t>(index));
            return true;
        }
        if (header.code == NM_RCLICK) {
            // The context menu acts on the page under the mouse: it becomes current.
            POINT cursor{};
            GetCursorPos(&cursor);
            TCHITTESTINFO hit{};
            hit.pt = cursor;
            ScreenToClient(row_, &hit.pt);
            const auto index = static_cast<int>(
                SendMessageW(row_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            if (index >= 0)
                listener_.PageSelected(static_cast<std::size_t>(index));
            SendMessageW(GetParent(hwnd()), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(row_),
                         MAKELPARAM(cursor.x, cursor.y));
            result = TRUE;
            return true;
        }
        return false;
    }
    if (header.hwndFrom == surface_.edit()) {
        if (header.code == EN_SELCHANGE) {
            const auto& change = reinterpret_cast<const SELCHANGE&>(header);
            listener_.TextPositionChosen(static_cast<std::size_t>(change.chrg.cpMin));
            return true;
        }
        if (header.code == EN_MSGFILTER) {
            const auto& filter = reinterpret_cast<const MSGFILTER&>(header);
            if (filter.msg == WM_LBUTTONDBLCLK) {
                POINT at{static_cast<short>(LOWORD(filter.lParam)),
                         static_cast<short>(HIWORD(filter.lParam))};
                listener_.TextPositionActivated(surface_.PositionAt(at));
            } else if (filter.msg == WM_KEYDOWN && filter.wParam == VK_RETURN) {
                // Enter on a result line shows it, as a double click does.
                CHARRANGE caret{};
                SendMessageW(surface_.edit(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
                listener_.TextPositionActivated(static_cast<std::size_t>(caret.cpMin));
            }
            result = 0; // the control handles the mouse and the keys as usual
            return true;
        }
    }
    return false;
}

} // namespace sorbex
