// The print preview of a RichEdit control's text: its pages as the printer lays them
// out, one or two at a time where the preview model puts them, zoomed and scrolled, and
// printing from there.
#include "app/win32/PrintPreviewWindow.h"

#include "app/win32/PrintPreviewWindowIds.h"
#include "app/win32/ViewerPrinting.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/Gdi.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr wchar_t kPreviewClass[] = L"SorbexPrintPreview";
constexpr COLORREF kPaper = RGB(255, 255, 255);
// A slate grey that nothing else on the screen has, lighter than text, so that the
// darkest pixels on a sheet are those of its text and a screenshot can tell the sheet.
constexpr COLORREF kPaperEdge = RGB(96, 96, 112);

// The keys of the preview and the commands they give.
struct PreviewKey {
    WPARAM key;
    WORD command;
};
constexpr PreviewKey kPreviewKeys[] = {
    {VK_ADD, ID_PREVIEW_ZOOM_IN},       {VK_OEM_PLUS, ID_PREVIEW_ZOOM_IN},
    {VK_SUBTRACT, ID_PREVIEW_ZOOM_OUT}, {VK_OEM_MINUS, ID_PREVIEW_ZOOM_OUT},
    {VK_NEXT, ID_PREVIEW_NEXT},         {VK_PRIOR, ID_PREVIEW_PREVIOUS},
    {VK_ESCAPE, ID_PREVIEW_CLOSE},
};

// The arrow keys scroll as the scroll bars' arrows do.
struct ScrollKey {
    WPARAM key;
    int bar;
    int code;
};
constexpr ScrollKey kScrollKeys[] = {
    {VK_LEFT, SB_HORZ, SB_LINEUP},
    {VK_RIGHT, SB_HORZ, SB_LINEDOWN},
    {VK_UP, SB_VERT, SB_LINEUP},
    {VK_DOWN, SB_VERT, SB_LINEDOWN},
};

} // namespace

CPrintPreviewWindow::CPrintPreviewWindow(HINSTANCE instance, CAppSettings& settings)
    : instance_(instance), settings_(settings) {}

CPrintPreviewWindow::~CPrintPreviewWindow() = default;

bool CPrintPreviewWindow::EnsureWindow(HWND owner) {
    return hwnd() || CreateOwned(instance_, kPreviewClass, Wide(SorbexString(IDS_PRINT_PREVIEW)),
                                 WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL, owner,
                                 IDR_PRINT_PREVIEW);
}

bool CPrintPreviewWindow::Open(HWND owner, HWND edit, const std::wstring& documentName) {
    if (!edit || !EnsureWindow(owner))
        return false;
    edit_ = edit;
    documentName_ = documentName;
    LayOut();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

void CPrintPreviewWindow::Refresh() {
    if (!hwnd() || !IsWindowVisible(hwnd()) || !edit_)
        return;
    // Laid out when it is drawn next: a page that grows batch by batch while a search
    // runs is laid out once per drawing, not once per batch.
    stale_ = true;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CPrintPreviewWindow::LayOutIfStale() {
    if (stale_)
        LayOut();
}

void CPrintPreviewWindow::LayOut() {
    stale_ = false;
    ++layouts_;
    setup_ = settings_.PageSetup();
    if (const HDC printer = DefaultPrinterFor(setup_)) {
        page_ = PrinterPageOf(printer);
        text_.LayOut(edit_, printer, page_, setup_);
        DeleteDC(printer);
    } else {
        // Without a printer the text is laid out for the screen, on the paper chosen.
        page_ = PaperPage(setup_);
        kestrix::ui::WindowDc screen(edit_);
        text_.LayOut(edit_, screen.get(), page_, setup_);
    }
    const int atOnce = model_ ? model_->pagesAtOnce() : settings_.PreviewPages();
    auto model = std::make_unique<CPrintPreview>(text_.starts(), atOnce);
    if (model_)
        model->KeepViewOf(*model_);
    model_ = std::move(model);
    UpdateMenu();
    UpdateScrollBars();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void CPrintPreviewWindow::UpdateMenu() {
    const HMENU menu = GetMenu(hwnd());
    if (!menu || !model_)
        return;
    const auto offer = [menu](UINT id, bool on) {
        EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    offer(ID_PREVIEW_NEXT, model_->CanGoNext());
    offer(ID_PREVIEW_PREVIOUS, model_->CanGoPrevious());
    offer(ID_PREVIEW_ONE_PAGE, model_->pagesAtOnce() != kMinPreviewPages);
    offer(ID_PREVIEW_TWO_PAGES, model_->pagesAtOnce() != kMaxPreviewPages);
    offer(ID_PREVIEW_ZOOM_IN, model_->CanZoomIn());
    offer(ID_PREVIEW_ZOOM_OUT, model_->CanZoomOut());
    DrawMenuBar(hwnd());
}

CPreviewView CPrintPreviewWindow::View() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return CPreviewView{client.right, client.bottom, page_.paperWidth, page_.paperHeight};
}

void CPrintPreviewWindow::UpdateScrollBars() {
    if (!model_)
        return;
    const CPreviewView view = View();
    const CPreviewExtent extent = model_->Extent(view);
    const auto set = [this](int bar, int size, int page, int position) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = size > page ? size - 1 : 0;
        info.nPage = size > page ? static_cast<UINT>(page) : 0;
        info.nPos = position;
        SetScrollInfo(hwnd(), bar, &info, TRUE);
    };
    set(SB_HORZ, extent.width, view.width, extent.scrollX);
    set(SB_VERT, extent.height, view.height, extent.scrollY);
}

void CPrintPreviewWindow::Scroll(int bar, int code) {
    if (!model_)
        return;
    const CPreviewView view = View();
    const CPreviewExtent extent = model_->Extent(view);
    const int position = bar == SB_HORZ ? extent.scrollX : extent.scrollY;
    const int page = bar == SB_HORZ ? view.width : view.height;
    int to = position;
    switch (code) {
    case SB_LINEUP:
        to -= kPreviewScrollLine;
        break;
    case SB_LINEDOWN:
        to += kPreviewScrollLine;
        break;
    case SB_PAGEUP:
        to -= page;
        break;
    case SB_PAGEDOWN:
        to += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd(), bar, &info);
        to = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    if (bar == SB_HORZ)
        model_->ScrollTo(to, extent.scrollY, view);
    else
        model_->ScrollTo(extent.scrollX, to, view);
    UpdateScrollBars();
    InvalidateRect(hwnd(), nullptr, TRUE);
}

bool CPrintPreviewWindow::OnKey(WPARAM key) {
    for (const PreviewKey& entry : kPreviewKeys)
        if (entry.key == key)
            return OnCommand(entry.command, 0, nullptr);
    for (const ScrollKey& entry : kScrollKeys)
        if (entry.key == key) {
            Scroll(entry.bar, entry.code);
            return true;
        }
    return false;
}

bool CPrintPreviewWindow::OnCommand(WORD id, WORD, HWND) {
    LayOutIfStale();
    if (!model_)
        return false;
    switch (id) {
    case ID_PREVIEW_PRINT: {
        const HDC printer = ChoosePrinter(hwnd(), setup_);
        if (printer) {
            PrintText(edit_, printer, setup_, documentName_);
            DeleteDC(printer);
        }
        return true;
    }
    case ID_PREVIEW_NEXT:
        model_->Next();
        break;
    case ID_PREVIEW_PREVIOUS:
        model_->Previous();
        break;
    case ID_PREVIEW_ONE_PAGE:
    case ID_PREVIEW_TWO_PAGES:
        if ((id == ID_PREVIEW_TWO_PAGES) != (model_->pagesAtOnce() == kMaxPreviewPages))
            model_->TogglePagesAtOnce();
        settings_.SetPreviewPages(model_->pagesAtOnce());
        break;
    case ID_PREVIEW_ZOOM_IN:
        model_->ZoomIn();
        break;
    case ID_PREVIEW_ZOOM_OUT:
        model_->ZoomOut();
        break;
    case ID_PREVIEW_CLOSE:
        OnClose();
        return true;
    default:
        return false;
    }
    UpdateMenu();
    UpdateScrollBars();
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

bool CPrintPreviewWindow::OnSize(UINT, int, int) {
    UpdateScrollBars();
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

bool CPrintPreviewWindow::OnClose() {
    ShowWindow(hwnd(), SW_HIDE);
    return true;
}

bool CPrintPreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_ERASEBKGND:
        result = 1; // WM_PAINT covers the whole client area
        return true;
    case WM_KEYDOWN:
        return OnKey(wParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
        Scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wParam));
        return true;
    case WM_PAINT: {
        LayOutIfStale();
        kestrix::ui::PaintScope paint(hwnd());
        RECT client{};
        GetClientRect(hwnd(), &client);
        Draw(paint.dc(), client.right, client.bottom);
        return true;
    }
    default:
        return false;
    }
}

void CPrintPreviewWindow::Draw(HDC dc, int width, int height) {
    LayOutIfStale();
    RECT client{0, 0, width, height};
    FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!model_)
        return;
    const std::vector<CPreviewRect> rects =
        model_->PageRects(width, height, page_.paperWidth, page_.paperHeight);
    kestrix::ui::BrushHandle paper(CreateSolidBrush(kPaper));
    kestrix::ui::BrushHandle edge(CreateSolidBrush(kPaperEdge));
    for (std::size_t k = 0; k < rects.size(); ++k) {
        const RECT sheet{rects[k].left, rects[k].top, rects[k].right, rects[k].bottom};
        FillRect(dc, &sheet, paper.get());
        FrameRect(dc, &sheet, edge.get());
        text_.DrawPage(dc, model_->first() + k, sheet);
    }
}

} // namespace sorbex
