// The print preview of a RichEdit control's text: its pages as the printer lays them
// out, one or two at a time where the preview model puts them, and printing from there.
#include "app/win32/PrintPreviewWindow.h"

#include <richedit.h>

#include "app/win32/PrintPreviewWindowIds.h"
#include "app/win32/ViewerPrinting.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/Gdi.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr wchar_t kPreviewClass[] = L"SorbexPrintPreview";
constexpr int kTwipsPerInch = 1440;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kPaperEdge = RGB(0, 0, 0);

} // namespace

CPrintPreviewWindow::CPrintPreviewWindow(HINSTANCE instance, CAppSettings& settings)
    : instance_(instance), settings_(settings) {}

CPrintPreviewWindow::~CPrintPreviewWindow() = default;

bool CPrintPreviewWindow::EnsureWindow(HWND owner) {
    if (hwnd())
        return true;
    kestrix::ui::WindowClassParams params;
    params.instance = instance_;
    params.name = kPreviewClass;
    params.icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
    kestrix::ui::RegisterWindowClass(params);
    const std::wstring title = Wide(SorbexString(IDS_PRINT_PREVIEW));
    kestrix::ui::WindowParams window;
    window.instance = instance_;
    window.className = kPreviewClass;
    window.title = title.c_str();
    window.style = WS_OVERLAPPEDWINDOW;
    window.parent = owner;
    window.menu = LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_PRINT_PREVIEW));
    return Create(window) != nullptr;
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
    if (hwnd() && IsWindowVisible(hwnd()) && edit_)
        LayOut();
}

void CPrintPreviewWindow::LayOut() {
    setup_ = settings_.PageSetup();
    std::vector<long> starts;
    if (const HDC printer = DefaultPrinterFor(setup_)) {
        page_ = PrinterPageOf(printer);
        starts = LayOutPages(edit_, printer, page_, setup_);
        DeleteDC(printer);
    } else {
        page_ = PaperPage(setup_);
        kestrix::ui::WindowDc screen(edit_);
        starts = LayOutPages(edit_, screen.get(), page_, setup_);
    }
    const int atOnce = model_ ? model_->pagesAtOnce() : settings_.PreviewPages();
    model_ = std::make_unique<CPrintPreview>(std::move(starts), atOnce);
    UpdateMenu();
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
    DrawMenuBar(hwnd());
}

bool CPrintPreviewWindow::OnCommand(WORD id, WORD, HWND) {
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
    case ID_PREVIEW_CLOSE:
        OnClose();
        return true;
    default:
        return false;
    }
    UpdateMenu();
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

bool CPrintPreviewWindow::OnSize(UINT, int, int) {
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

bool CPrintPreviewWindow::OnClose() {
    ShowWindow(hwnd(), SW_HIDE);
    return true;
}

bool CPrintPreviewWindow::HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == WM_ERASEBKGND) {
        result = 1; // WM_PAINT covers the whole client area
        return true;
    }
    if (message != WM_PAINT)
        return false;
    kestrix::ui::PaintScope paint(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    Draw(paint.dc(), client.right, client.bottom);
    result = 0;
    return true;
}

void CPrintPreviewWindow::Draw(HDC dc, int width, int height) {
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
        DrawPage(dc, rects[k], model_->first() + k);
    }
}

void CPrintPreviewWindow::DrawPage(HDC dc, const CPreviewRect& rect, std::size_t page) {
    const std::vector<long>& starts = model_->pageStarts();
    // The page drawn at the screen's resolution, then scaled onto its sheet.
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, MulDiv(page_.paperWidth, GetDeviceCaps(dc, LOGPIXELSX), kTwipsPerInch),
                   MulDiv(page_.paperHeight, GetDeviceCaps(dc, LOGPIXELSY), kTwipsPerInch),
                   nullptr);
    SetViewportExtEx(dc, rect.right - rect.left, rect.bottom - rect.top, nullptr);
    SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
    const CTwipsRect area = PrintArea(page_, setup_);
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = {area.left + page_.printableLeft, area.top + page_.printableTop,
                area.right + page_.printableLeft, area.bottom + page_.printableTop};
    range.rcPage = {0, 0, page_.paperWidth, page_.paperHeight};
    range.chrg.cpMin = starts[page];
    range.chrg.cpMax = page + 1 < starts.size() ? starts[page + 1] : -1;
    SendMessageW(edit_, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit_, EM_FORMATRANGE, FALSE, 0);
    RestoreDC(dc, saved);
}

} // namespace sorbex
