// Printing a RichEdit control's text in the page layout of "PageSetup", and the printer
// and page-setup dialogs that choose it.
#include "app/win32/ViewerPrinting.h"

#include <commdlg.h>

#include "app/win32/PagedText.h"

namespace sorbex {
namespace {

constexpr int kTwipsPerInch = 1440;

long ToTwips(int pixels, int pixelsPerInch) {
    return pixelsPerInch > 0 ? MulDiv(pixels, kTwipsPerInch, pixelsPerInch) : 0;
}

// A moveable block of global memory, freed when it goes unless handed over.
class GlobalBlock {
public:
    explicit GlobalBlock(HGLOBAL block = nullptr) : block_(block) {}
    ~GlobalBlock() {
        if (block_)
            GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }
    // The dialogs may replace the block they were given: the one they return is kept.
    void reset(HGLOBAL block) {
        if (block_ && block_ != block)
            GlobalFree(block_);
        block_ = block;
    }

private:
    HGLOBAL block_;
};

// The printer settings that carry the orientation and paper of `setup`.
HGLOBAL DevModeFor(const CPageSetup& setup) {
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEW));
    if (!block)
        return nullptr;
    auto* mode = static_cast<DEVMODEW*>(GlobalLock(block));
    mode->dmSize = sizeof(DEVMODEW);
    mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    mode->dmOrientation = static_cast<short>(setup.orientation == kOrientationLandscape
                                                 ? DMORIENT_LANDSCAPE
                                                 : DMORIENT_PORTRAIT);
    mode->dmPaperSize = static_cast<short>(setup.paperSize);
    GlobalUnlock(block);
    return block;
}

void ReadDevMode(HGLOBAL block, CPageSetup& setup) {
    if (!block)
        return;
    const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(block));
    if (!mode)
        return;
    if (mode->dmFields & DM_ORIENTATION)
        setup.orientation = mode->dmOrientation == DMORIENT_LANDSCAPE ? kOrientationLandscape
                                                                       : kOrientationPortrait;
    if (mode->dmFields & DM_PAPERSIZE)
        setup.paperSize = mode->dmPaperSize;
    GlobalUnlock(block);
}

} // namespace

CPrinterPage PrinterPageOf(HDC printer) {
    const int across = GetDeviceCaps(printer, LOGPIXELSX);
    const int down = GetDeviceCaps(printer, LOGPIXELSY);
    CPrinterPage page;
    page.paperWidth = ToTwips(GetDeviceCaps(printer, PHYSICALWIDTH), across);
    page.paperHeight = ToTwips(GetDeviceCaps(printer, PHYSICALHEIGHT), down);
    page.printableLeft = ToTwips(GetDeviceCaps(printer, PHYSICALOFFSETX), across);
    page.printableTop = ToTwips(GetDeviceCaps(printer, PHYSICALOFFSETY), down);
    page.printableWidth = ToTwips(GetDeviceCaps(printer, HORZRES), across);
    page.printableHeight = ToTwips(GetDeviceCaps(printer, VERTRES), down);
    return page;
}

bool PrintText(HWND edit, HDC dc, const CPageSetup& setup, const std::wstring& documentName) {
    CPagedText text;
    text.LayOut(edit, dc, PrinterPageOf(dc), setup);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    if (StartDocW(dc, &document) <= 0)
        return false;
    bool printed = true;
    for (std::size_t k = 0; printed && k < text.starts().size(); ++k) {
        printed = StartPage(dc) > 0;
        if (printed) {
            text.PrintPage(dc, k);
            printed = EndPage(dc) > 0;
        }
    }
    if (printed)
        EndDoc(dc);
    else
        AbortDoc(dc);
    return printed;
}

HDC ChoosePrinter(HWND owner, const CPageSetup& setup) {
    GlobalBlock mode(DevModeFor(setup));
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = mode.get();
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    mode.reset(dialog.hDevMode);
    GlobalBlock names(dialog.hDevNames);
    return chosen ? dialog.hDC : nullptr;
}

HDC DefaultPrinterFor(const CPageSetup& setup) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT;
    const BOOL found = PrintDlgW(&dialog);
    GlobalBlock mode(dialog.hDevMode);
    GlobalBlock names(dialog.hDevNames);
    if (!found || !names.get())
        return nullptr;
    const auto* devNames = static_cast<const DEVNAMES*>(GlobalLock(names.get()));
    if (!devNames)
        return nullptr;
    const auto* base = reinterpret_cast<const wchar_t*>(devNames);
    auto* devMode = mode.get() ? static_cast<DEVMODEW*>(GlobalLock(mode.get())) : nullptr;
    if (devMode) {
        devMode->dmFields |= DM_ORIENTATION | DM_PAPERSIZE;
        devMode->dmOrientation = static_cast<short>(
            setup.orientation == kOrientationLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT);
        devMode->dmPaperSize = static_cast<short>(setup.paperSize);
    }
    const HDC printer = CreateDCW(base + devNames->wDriverOffset, base + devNames->wDeviceOffset,
                                  nullptr, devMode);
    if (devMode)
        GlobalUnlock(mode.get());
    GlobalUnlock(names.get());
    return printer;
}

bool RunPageSetupDialog(HWND owner, CPageSetup& setup) {
    const CPageSetupDialogValues values = ToDialogValues(setup);
    GlobalBlock mode(DevModeFor(setup));
    PAGESETUPDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = mode.get();
    dialog.Flags = PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS;
    dialog.rtMargin = {values.margins[0], values.margins[1], values.margins[2], values.margins[3]};
    const BOOL confirmed = PageSetupDlgW(&dialog);
    mode.reset(dialog.hDevMode);
    GlobalBlock names(dialog.hDevNames);
    if (!confirmed)
        return false;
    CPageSetupDialogValues chosen = values;
    chosen.margins = {{dialog.rtMargin.left, dialog.rtMargin.top, dialog.rtMargin.right,
                       dialog.rtMargin.bottom}};
    setup = FromDialogValues(chosen);
    ReadDevMode(mode.get(), setup);
    return true;
}

bool ChangePageSetup(HWND owner, CAppSettings& settings) {
    CPageSetup setup = settings.PageSetup();
    if (!RunPageSetupDialog(owner, setup))
        return false;
    settings.SetPageSetup(setup);
    return true;
}

} // namespace sorbex
