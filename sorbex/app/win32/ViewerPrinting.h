// Printing a RichEdit control's text in the page layout of "PageSetup", and the printer
// and page-setup dialogs that choose it.
#pragma once

#include <windows.h>

#include <string>

#include "app/AppSettings.h"
#include "viewer/PageSetup.h"

namespace sorbex {

// The paper and printable area of a printer's device context, in twips.
CPrinterPage PrinterPageOf(HDC printer);

// Prints the text of `edit` on the printer `dc` as one document; false when the printer
// refused it.
bool PrintText(HWND edit, HDC dc, const CPageSetup& setup, const std::wstring& documentName);

// The printer dialog, offering the orientation and paper of `setup`; the chosen
// printer's device context (the caller deletes it), or null when cancelled.
HDC ChoosePrinter(HWND owner, const CPageSetup& setup);

// The default printer's device context set to the orientation and paper of `setup`,
// without asking the user; null when there is no printer. The caller deletes it.
HDC DefaultPrinterFor(const CPageSetup& setup);

// The page-setup dialog; true, with `setup` changed, when it was confirmed.
bool RunPageSetupDialog(HWND owner, CPageSetup& setup);

// The page-setup dialog over the "PageSetup" of `settings`, which the result pages and
// the viewer share; true when it was confirmed and stored.
bool ChangePageSetup(HWND owner, CAppSettings& settings);

} // namespace sorbex
