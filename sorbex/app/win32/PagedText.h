// A RichEdit control's text put on pages for a device: by the control itself where it
// can lay its text out for a printer, by our own line layout in its default font where
// it cannot (Wine's control lays out and draws nothing for another device).
#pragma once

#include <windows.h>

#include <richedit.h>

#include <cstddef>
#include <string>
#include <vector>

#include "viewer/PageSetup.h"
#include "viewer/TextPages.h"

namespace sorbex {

class CPagedText {
public:
    // Lays the text of `edit` out for `dc` on pages of `page` with the margins of
    // `setup`; nothing is drawn.
    void LayOut(HWND edit, HDC dc, const CPrinterPage& page, const CPageSetup& setup);

    // The first position of every page; at least one.
    const std::vector<long>& starts() const { return starts_; }
    // Our own layout is drawn, not the control's.
    bool ownLayout() const { return ownLayout_; }

    // Draws page `k` into `dc` scaled onto the sheet `sheet` (device pixels), which
    // stands for the whole paper.
    void DrawPage(HDC dc, std::size_t k, const RECT& sheet) const;

    // Prints page `k` on the printer `dc` (between StartPage and EndPage), its origin
    // the corner of the printable area as printers have it.
    void PrintPage(HDC dc, std::size_t k) const;

private:
    // Our own layout: the text's lines in the control's default font.
    void LayOutOwn(HDC dc);
    void DrawOwnPage(HDC dc, std::size_t k, long left, long top) const;
    HFONT CreateDefaultFont() const;

    HWND edit_ = nullptr;
    CPrinterPage page_;
    CTwipsRect area_;
    std::vector<long> starts_{0};
    bool ownLayout_ = false;
    std::wstring text_;
    std::vector<CTextPage> pages_;
    long lineHeight_ = 0;
    long tabWidth_ = 1;
    CHARFORMAT2W format_{};
};

} // namespace sorbex
