// The file viewer's window: a frame titled with the shown file's name around a RichEdit
// control, or a picture in its place. It draws what the portable viewer model decides.
#include "app/win32/FileViewerWindow.h"

#include <richedit.h>

#include <cstring>

#include "app/win32/FileViewerWindowIds.h"
#include "app/win32/RichEditSurface.h"
#include "app/win32/ViewerPrinting.h"
#include "app/win32/WideText.h"
#include "viewer/ShownCharacters.h"
#include "app/win32/WindowPlacement.h"
#include "platform/win32/ui/Gdi.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr wchar_t kViewerClass[] = L"SorbexFileViewer";
// A found passage keeps its own text colour on this background.
constexpr COLORREF kPassageBackground = RGB(255, 255, 0);
constexpr int kTwipsPerPoint = 20;
constexpr long kHimetricPerInch = 2540;
constexpr LONG kTextLimit = 0x7FFFFFFF;
// Posted to itself when a replacement rewrote the shown file.
constexpr UINT kReloadReplaced = WM_APP + 1;

struct StreamSource {
    const char* data;
    std::size_t size;
    std::size_t offset;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t left = source->size - source->offset;
    if (left > static_cast<std::size_t>(size))
        left = static_cast<std::size_t>(size);
    std::memcpy(buffer, source->data + source->offset, left);
    source->offset += left;
    *read = static_cast<LONG>(left);
    return 0;
}

// Replaces the control's whole content by `size` bytes in the format `format`.
void StreamIn(HWND edit, const void* data, std::size_t size, WPARAM format) {
    StreamSource source{static_cast<const char*>(data), size, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadSource;
    SendMessageW(edit, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

int HimetricToPixels(long himetric, int pixelsPerInch) {
    return MulDiv(static_cast<int>(himetric), pixelsPerInch, kHimetricPerInch);
}

} // namespace

CFileViewerWindow::CFileViewerWindow(HINSTANCE instance, HWND owner, kestrix::FileSystem& fs,
                                     CProfile& profile, CTextConverterList* converters)
    : instance_(instance), owner_(owner), fs_(fs), settings_(profile),
      model_(fs, profile, converters), preview_(instance, settings_) {}

CFileViewerWindow::~CFileViewerWindow() {
    // The window goes with this object without a WM_DESTROY reaching it here.
    StorePlacement();
}

bool CFileViewerWindow::EnsureWindow() {
    if (hwnd())
        return true;
    if (!CreateOwned(instance_, kViewerClass, Wide(SorbexString(IDS_FILE_VIEWER)),
                     WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, owner_, IDR_FILE_VIEWER))
        return false;
    // Where the user left it last time; shown only with the first file.
    CWindowPlacementValue stored;
    if (settings_.ViewerWindowPlacement(stored)) {
        ApplyWindowPlacement(hwnd(), stored, SW_HIDE);
        showMaximized_ = stored.showCommand == SW_SHOWMAXIMIZED;
    }
    return true;
}

void CFileViewerWindow::StorePlacement() {
    CWindowPlacementValue stored;
    if (!hwnd() || !IsWindowVisible(hwnd()) || !ReadWindowPlacement(hwnd(), stored))
        return;
    showMaximized_ = IsZoomed(hwnd()) != FALSE;
    settings_.SetViewerWindowPlacement(stored);
}

bool CFileViewerWindow::OnCreate(const CREATESTRUCTW& create) {
    if (!LoadRichEdit())
        return false;
    edit_ = CreateWindowExW(0, kRichEditClass, L"",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE |
                                ES_READONLY | ES_NOHIDESEL | ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                            0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(IDC_VIEWER_TEXT),
                            create.hInstance, nullptr);
    if (!edit_)
        return false;
    // The default limit of 32,767 characters would cut files short.
    SendMessageW(edit_, EM_EXLIMITTEXT, 0, kTextLimit);
    return true;
}

bool CFileViewerWindow::OnSize(UINT, int width, int height) {
    MoveWindow(edit_, 0, 0, width, height, TRUE);
    return true;
}

bool CFileViewerWindow::OnCommand(WORD id, WORD, HWND) {
    switch (id) {
    case ID_VIEWER_PRINT:
        Print();
        return true;
    case ID_VIEWER_PAGE_SETUP:
        ChoosePageSetup();
        return true;
    case ID_VIEWER_PREVIEW:
        OpenPreview();
        return true;
    case ID_VIEWER_CLOSE:
        OnClose();
        return true;
    default:
        return false;
    }
}

bool CFileViewerWindow::CanPrint() const {
    return model_.ShowsFile() && !picture_;
}

void CFileViewerWindow::Print() {
    if (!CanPrint())
        return;
    const CPageSetup setup = settings_.PageSetup();
    const HDC printer = ChoosePrinter(hwnd(), setup);
    if (!printer)
        return;
    PrintText(edit_, printer, setup, kestrix::ui::WindowText(hwnd()));
    DeleteDC(printer);
}

void CFileViewerWindow::ChoosePageSetup() {
    if (ChangePageSetup(hwnd(), settings_))
        preview_.Refresh();
}

void CFileViewerWindow::OpenPreview() {
    if (CanPrint())
        preview_.Open(hwnd(), edit_, kestrix::ui::WindowText(hwnd()));
}

bool CFileViewerWindow::OnClose() {
    // Closed, it shows no file: the next result opens it again with the file loaded anew.
    StorePlacement();
    Clear();
    ShowWindow(hwnd(), SW_HIDE);
    return true;
}

void CFileViewerWindow::OnDestroy() {
    // Open when the program ends: its place is kept as it is now.
    StorePlacement();
    picture_.reset();
    edit_ = nullptr;
}

bool CFileViewerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == kReloadReplaced) {
        model_.ReloadReplaced(*this);
        result = 0;
        return true;
    }
    if (message == WM_INITMENUPOPUP) {
        for (const UINT id : {ID_VIEWER_PRINT, ID_VIEWER_PREVIEW})
            EnableMenuItem(reinterpret_cast<HMENU>(wParam), id,
                           MF_BYCOMMAND | (CanPrint() ? MF_ENABLED : MF_GRAYED));
        result = 0;
        return true;
    }
    if (message != WM_PAINT || !picture_)
        return false;
    PaintPicture();
    result = 0;
    return true;
}

// --- CResultViewer ---

bool CFileViewerWindow::ShowResult(const CFileFindDoc& page, std::size_t index) {
    if (index >= page.results.size() || !EnsureWindow())
        return false;
    FollowFont();
    model_.SetEncoding(settings_.Encoding());
    model_.ShowResult(page.results, index, *this);
    return model_.ShowsFile() && model_.current() == static_cast<long>(index);
}

void CFileViewerWindow::ResultReplaced(const CFileFindDoc& page, std::size_t index, int) {
    // The file was rewritten: when it is the one shown, it is read again once the walk
    // has told of all its passages and lets messages through.
    if (hwnd() && model_.ResultReplaced(page.results, index, *this))
        PostMessageW(hwnd(), kReloadReplaced, 0, 0);
}

std::string CFileViewerWindow::ShownFile() const {
    return model_.shownPath();
}

void CFileViewerWindow::Clear() {
    model_.Forget();
    if (!hwnd())
        return;
    DropPicture();
    SetContent(std::string(), false, std::u32string());
    SetWindowTextW(hwnd(), Wide(SorbexString(IDS_FILE_VIEWER)).c_str());
}

void CFileViewerWindow::FollowFont() {
    const CViewerFont font = settings_.ViewerFont();
    if (fontGiven_ && font == font_)
        return;
    font_ = font;
    fontGiven_ = true;
    model_.SetFont(font_, *this);
}

// --- CViewerUi ---

void CFileViewerWindow::ActivateViewer(const std::string& title) {
    SetWindowTextW(hwnd(), Wide(title).c_str());
    // The main window keeps the keyboard: F5 to F9 go on stepping from there.
    if (!IsWindowVisible(hwnd())) {
        const HWND active = GetActiveWindow();
        ShowWindow(hwnd(), showMaximized_ ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
        if (showMaximized_ && active && active != hwnd())
            SetActiveWindow(active);
    }
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CFileViewerWindow::ShowPicture(const std::string& path) {
    std::string bytes;
    if (fs_.ReadFile(path, bytes) || bytes.empty())
        return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return false;
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return false;
    }
    IPicture* picture = nullptr;
    const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE,
                                          IID_IPicture, reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(loaded) || !picture)
        return false;
    picture_.reset(picture);
    contentIsRtf_ = false;
    ShowWindow(edit_, SW_HIDE);
    InvalidateRect(hwnd(), nullptr, TRUE);
    return true;
}

void CFileViewerWindow::DropPicture() {
    if (!picture_)
        return;
    picture_.reset();
    ShowWindow(edit_, SW_SHOW);
}

void CFileViewerWindow::PaintPicture() {
    kestrix::ui::PaintScope paint(hwnd());
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    const int across = HimetricToPixels(width, GetDeviceCaps(paint.dc(), LOGPIXELSX));
    const int down = HimetricToPixels(height, GetDeviceCaps(paint.dc(), LOGPIXELSY));
    // The picture's own size at the screen's resolution, from the top left corner.
    picture_->Render(paint.dc(), 0, 0, across, down, 0, height, width, -height, nullptr);
}

void CFileViewerWindow::SetRedraw(bool on) {
    SendMessageW(edit_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on) {
        InvalidateRect(edit_, nullptr, TRUE);
        UpdateWindow(edit_);
    }
}

void CFileViewerWindow::SetDefaultFont(const CControlFont& font) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT |
                    CFM_COLOR;
    format.dwEffects = (font.bold ? CFE_BOLD : 0) | (font.italic ? CFE_ITALIC : 0) |
                       (font.underline ? CFE_UNDERLINE : 0) | (font.strikeOut ? CFE_STRIKEOUT : 0);
    format.yHeight = font.points * kTwipsPerPoint;
    format.crTextColor = static_cast<COLORREF>(font.color);
    const std::wstring face = Wide(font.faceName);
    lstrcpynW(format.szFaceName, face.c_str(), LF_FACESIZE);
    SendMessageW(edit_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    // Plain text has no fonts of its own: what it shows already takes the new one. An
    // RTF document keeps its own.
    if (!contentIsRtf_)
        SendMessageW(edit_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void CFileViewerWindow::SetContent(const std::string& content, bool rtf,
                                   const std::u32string& outside) {
    ++contentsSet_;
    DropPicture();
    contentIsRtf_ = rtf;
    contentPairs_.clear();
    if (rtf) {
        StreamIn(edit_, content.data(), content.size(), SF_RTF);
    } else {
        // Read as Unicode text, so that a text that happens to begin like an RTF
        // document is shown as it is, with the file's own characters.
        CShownUnits shown = ShownUnits(content, outside);
        contentPairs_ = std::move(shown.pairs);
        StreamIn(edit_, shown.units.data(), shown.units.size() * sizeof(char16_t),
                 SF_TEXT | SF_UNICODE);
    }
    SendMessageW(edit_, EM_SETSEL, 0, 0);
    // An open preview shows the pages of what the viewer shows.
    preview_.Refresh();
}

std::string CFileViewerWindow::ContentText() {
    // Every paragraph ends in one CR, which counts as one position: the text's characters
    // are the control's positions.
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200};
    const LRESULT count =
        SendMessageW(edit_, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (count <= 0)
        return std::string();
    std::wstring text(static_cast<std::size_t>(count) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const LRESULT copied =
        SendMessageW(edit_, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                     reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    // One byte per character, as the viewer's positions count them.
    return ContentOfUnits(std::u16string(text.begin(), text.end()));
}

void CFileViewerWindow::MarkPassage(long start, long end) {
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(UnitPosition(contentPairs_, start)),
                 static_cast<LPARAM>(UnitPosition(contentPairs_, end)));
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BACKCOLOR;
    format.crBackColor = kPassageBackground;
    SendMessageW(edit_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void CFileViewerWindow::SelectPassage(long start, long end) {
    SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(UnitPosition(contentPairs_, start)),
                 static_cast<LPARAM>(UnitPosition(contentPairs_, end)));
    SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
}

CViewPlace CFileViewerWindow::Place() {
    POINT at{};
    SendMessageW(edit_, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
    return CViewPlace{at.x, at.y};
}

void CFileViewerWindow::SetPlace(const CViewPlace& place) {
    POINT at{static_cast<LONG>(place.x), static_cast<LONG>(place.y)};
    SendMessageW(edit_, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&at));
}

} // namespace sorbex
