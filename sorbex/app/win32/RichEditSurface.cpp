// A result page's text in the system's RichEdit control: the surface the portable page
// view draws on.
#include "app/win32/RichEditSurface.h"

#include <commdlg.h>
#include <richedit.h>

#include <cstring>

namespace sorbex {
namespace {

struct StreamSource {
    const std::string* text;
    std::size_t offset;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t left = source->text->size() - source->offset;
    if (left > static_cast<std::size_t>(size))
        left = static_cast<std::size_t>(size);
    std::memcpy(buffer, source->text->data() + source->offset, left);
    source->offset += left;
    *read = static_cast<LONG>(left);
    return 0;
}

LONG Position(std::size_t position) {
    return static_cast<LONG>(position);
}

} // namespace

bool LoadRichEdit() {
    static const HMODULE library = LoadLibraryW(L"msftedit.dll");
    return library != nullptr;
}

void CRichEditSurface::StreamIn(const std::string& rtf) {
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadSource;
    SendMessageW(edit_, EM_STREAMIN, SF_RTF | SFF_SELECTION, reinterpret_cast<LPARAM>(&stream));
    if (changed_)
        changed_();
}

CRichEditSurface::CRichEditSurface(HWND edit) {
    Attach(edit);
}

void CRichEditSurface::Attach(HWND edit) {
    edit_ = edit;
    // The page is not edited: no undo to keep for what the program puts in.
    if (edit_)
        SendMessageW(edit_, EM_SETUNDOLIMIT, 0, 0);
}

CRichEditSurface::Quiet::Quiet(HWND edit) : edit_(edit) {
    events_ = static_cast<LPARAM>(SendMessageW(edit_, EM_GETEVENTMASK, 0, 0));
    SendMessageW(edit_, EM_SETEVENTMASK, 0, 0);
    SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
}

CRichEditSurface::Quiet::~Quiet() {
    SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
    SendMessageW(edit_, EM_SETEVENTMASK, 0, events_);
}

void CRichEditSurface::Clear() {
    SetWindowTextW(edit_, L"");
    if (changed_)
        changed_();
}

void CRichEditSurface::Append(const CRichTextBuilder& text) {
    // Appending leaves the reader's selection and scroll position where they were,
    // nothing is drawn until all of it is in, and the selection's moves on the way are
    // not reported as the reader's.
    const Quiet quiet(edit_);
    CHARRANGE selection{};
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    POINT scroll{};
    SendMessageW(edit_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    StreamIn(text.Document());
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(edit_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&scroll));
}

std::size_t CRichEditSurface::Length() {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const LRESULT count =
        SendMessageW(edit_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    return count < 0 ? 0 : static_cast<std::size_t>(count);
}

std::size_t CRichEditSurface::FindCounterMark(std::size_t from) {
    const wchar_t mark[] = {static_cast<wchar_t>(kCounterMark), L'\0'};
    FINDTEXTEXW find{};
    find.chrg.cpMin = Position(from);
    find.chrg.cpMax = -1;
    find.lpstrText = mark;
    const LRESULT found =
        SendMessageW(edit_, EM_FINDTEXTEXW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
    return found < 0 ? kNoMark : static_cast<std::size_t>(found);
}

void CRichEditSurface::Replace(std::size_t from, std::size_t to, const CRichTextBuilder& text) {
    const Quiet quiet(edit_);
    CHARRANGE selection{};
    SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    StreamIn(text.Document());
    SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

void CRichEditSurface::Select(std::size_t from, std::size_t to) {
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(from), static_cast<LPARAM>(to));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

void CRichEditSurface::Refresh(bool followEnd) {
    if (followEnd) {
        // The caret's place is the reader's: scroll the view, not the selection. The
        // scroll draws nothing itself (the whole view is drawn once below).
        SendMessageW(edit_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(edit_, WM_VSCROLL, SB_BOTTOM, 0);
        SendMessageW(edit_, WM_SETREDRAW, TRUE, 0);
    }
    InvalidateRect(edit_, nullptr, FALSE);
    UpdateWindow(edit_);
}

std::size_t CRichEditSurface::LinesShown() {
    RECT client{};
    if (!edit_ || !GetClientRect(edit_, &client) || client.bottom <= client.top)
        return 0;
    const HDC dc = GetDC(edit_);
    if (!dc)
        return 0;
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(edit_, dc);
    // A line is at least as tall as the page's text (its size in half points); a part
    // line at the bottom counts.
    const int linePixels = MulDiv(LookOf(CRunStyle::Normal).halfPoints, dpi, 2 * 72);
    if (linePixels <= 0)
        return 0;
    return static_cast<std::size_t>((client.bottom - client.top + linePixels - 1) / linePixels);
}

std::wstring CRichEditSurface::TextRange(std::size_t from, std::size_t to) {
    if (to <= from)
        return std::wstring();
    std::wstring text(to - from + 1, L'\0');
    TEXTRANGEW range{};
    range.chrg.cpMin = Position(from);
    range.chrg.cpMax = Position(to);
    range.lpstrText = &text[0];
    const LRESULT copied =
        SendMessageW(edit_, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return text;
}

std::size_t CRichEditSurface::PositionAt(POINT point) {
    POINTL at{point.x, point.y};
    const LRESULT position = SendMessageW(edit_, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at));
    return position < 0 ? 0 : static_cast<std::size_t>(position);
}

} // namespace sorbex
