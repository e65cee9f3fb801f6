// A RichEdit control's text put on pages for a device: by the control itself where it
// can lay its text out for a printer, by our own line layout in its default font where
// it cannot.
#include "app/win32/PagedText.h"

#include <algorithm>

#include "platform/win32/ui/Gdi.h"

namespace sorbex {
namespace {

constexpr int kTwipsPerInch = 1440;
// Tab stops every so many average characters, as the control has them by default.
constexpr long kTabCharacters = 8;

long TextLength(HWND edit) {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT count =
        SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    return count < 0 ? 0 : static_cast<long>(count);
}

// The control's text, one position a character (a paragraph ends in one CR).
std::wstring TextOf(HWND edit) {
    const long length = TextLength(edit);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT copied = SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                        reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return text;
}

// Lays out (and with `render` draws) the page that begins at `from`; the position where
// the next page begins.
long FormatPage(HWND edit, HDC dc, const CPrinterPage& page, const RECT& area, long from,
                long to, bool render) {
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    range.rc = area;
    range.rcPage = {0, 0, page.paperWidth, page.paperHeight};
    range.chrg.cpMin = from;
    range.chrg.cpMax = to;
    return static_cast<long>(
        SendMessageW(edit, EM_FORMATRANGE, render ? TRUE : FALSE, reinterpret_cast<LPARAM>(&range)));
}

RECT ToRect(const CTwipsRect& area, long dx, long dy) {
    return {area.left + dx, area.top + dy, area.right + dx, area.bottom + dy};
}

// Logical units of `dc` made twips from here on, the origin staying where it is.
void MapTwips(HDC dc) {
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, kTwipsPerInch, kTwipsPerInch, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
}

// Measures, and with `draw` draws at `x`, `y`, the `count` characters at `text`, a tab
// moving on to the next multiple of `tabWidth` from `x`; the width they take.
long TabbedRun(HDC dc, const wchar_t* text, std::size_t count, long tabWidth, int x, int y,
               bool draw) {
    long width = 0;
    std::size_t from = 0;
    while (from <= count) {
        std::size_t to = from;
        while (to < count && text[to] != L'\t')
            ++to;
        if (to > from) {
            SIZE size{};
            GetTextExtentPoint32W(dc, text + from, static_cast<int>(to - from), &size);
            if (draw)
                TextOutW(dc, x + static_cast<int>(width), y, text + from, static_cast<int>(to - from));
            width += size.cx;
        }
        if (to == count)
            break;
        width = (width / tabWidth + 1) * tabWidth;
        from = to + 1;
    }
    return width;
}

} // namespace

void CPagedText::LayOut(HWND edit, HDC dc, const CPrinterPage& page, const CPageSetup& setup) {
    edit_ = edit;
    page_ = page;
    area_ = PrintArea(page, setup);
    pages_.clear();
    text_.clear();
    const long length = TextLength(edit);
    const RECT area = ToRect(area_, 0, 0);
    // A control that takes nothing of a text on its first page cannot lay it out for
    // this device: its pages would be blank.
    ownLayout_ = length > 0 && FormatPage(edit, dc, page, area, 0, -1, false) <= 0;
    if (ownLayout_) {
        SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
        LayOutOwn(dc);
        return;
    }
    starts_ = PaginateText(
        length, [&](long from) { return FormatPage(edit, dc, page, area, from, -1, false); });
    // The control keeps what it measured for the device until told to let go.
    SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
}

HFONT CPagedText::CreateDefaultFont() const {
    LOGFONTW font{};
    // The height in twips: logical units are twips where the font is used.
    font.lfHeight = -std::max<LONG>(format_.yHeight, 1);
    font.lfWeight = (format_.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (format_.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
    font.lfUnderline = (format_.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
    font.lfStrikeOut = (format_.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    // Drawn scaled down onto a preview's sheet: a raster face ("System") would keep its
    // size in pixels, so a scalable one stands in for it.
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lstrcpynW(font.lfFaceName, format_.szFaceName, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void CPagedText::LayOutOwn(HDC dc) {
    format_ = {};
    format_.cbSize = sizeof format_;
    SendMessageW(edit_, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format_));
    text_ = TextOf(edit_);
    const int saved = SaveDC(dc);
    MapTwips(dc);
    kestrix::ui::FontHandle font(CreateDefaultFont());
    kestrix::ui::SelectedObject selected(dc, font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    lineHeight_ = std::max<long>(metrics.tmHeight + metrics.tmExternalLeading, 1);
    tabWidth_ = std::max<long>(kTabCharacters * metrics.tmAveCharWidth, 1);
    const CMeasureText measure = [this, dc](const wchar_t* text, std::size_t count) {
        return TabbedRun(dc, text, count, tabWidth_, 0, 0, false);
    };
    pages_ = LayOutTextPages(text_, area_.right - area_.left,
                             (area_.bottom - area_.top) / lineHeight_, measure);
    RestoreDC(dc, saved);
    starts_ = PageStartsOf(pages_);
}

void CPagedText::DrawOwnPage(HDC dc, std::size_t k, long left, long top) const {
    if (k >= pages_.size())
        return;
    kestrix::ui::FontHandle font(CreateDefaultFont());
    kestrix::ui::SelectedObject selected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (format_.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT)
                                                         : format_.crTextColor);
    long y = top + area_.top;
    const int x = static_cast<int>(left + area_.left);
    for (const CTextLine& line : pages_[k].lines) {
        TabbedRun(dc, text_.data() + line.start, static_cast<std::size_t>(line.length),
                  tabWidth_, x, static_cast<int>(y), true);
        y += lineHeight_;
    }
}

void CPagedText::DrawPage(HDC dc, std::size_t k, const RECT& sheet) const {
    if (k >= starts_.size())
        return;
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportOrgEx(dc, sheet.left, sheet.top, nullptr);
    SetViewportExtEx(dc, sheet.right - sheet.left, sheet.bottom - sheet.top, nullptr);
    if (ownLayout_) {
        // Our own lines are measured in twips: the paper in twips fills the sheet.
        SetWindowExtEx(dc, page_.paperWidth, page_.paperHeight, nullptr);
        DrawOwnPage(dc, k, page_.printableLeft, page_.printableTop);
    } else {
        // The control draws as on the screen, at the screen's resolution, scaled onto
        // the sheet.
        SetWindowExtEx(dc, MulDiv(page_.paperWidth, GetDeviceCaps(dc, LOGPIXELSX), kTwipsPerInch),
                       MulDiv(page_.paperHeight, GetDeviceCaps(dc, LOGPIXELSY), kTwipsPerInch),
                       nullptr);
        const long to = k + 1 < starts_.size() ? starts_[k + 1] : -1;
        FormatPage(edit_, dc, page_, ToRect(area_, page_.printableLeft, page_.printableTop),
                   starts_[k], to, true);
        SendMessageW(edit_, EM_FORMATRANGE, FALSE, 0);
    }
    RestoreDC(dc, saved);
}

void CPagedText::PrintPage(HDC dc, std::size_t k) const {
    if (k >= starts_.size())
        return;
    if (ownLayout_) {
        const int saved = SaveDC(dc);
        MapTwips(dc);
        DrawOwnPage(dc, k, 0, 0);
        RestoreDC(dc, saved);
        return;
    }
    const long to = k + 1 < starts_.size() ? starts_[k + 1] : -1;
    FormatPage(edit_, dc, page_, ToRect(area_, 0, 0), starts_[k], to, true);
    SendMessageW(edit_, EM_FORMATRANGE, FALSE, 0);
}

} // namespace sorbex
