// The detail window and the help popup of the replacement wizard.
#include "wizard/win32/WizardDetail.h"

#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinModule.h"
#include "platform/win32/AnsiText.h"
#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace keywright {

namespace {

constexpr UINT kHelpShownMs = 8000;
constexpr int kHelpWidth = 300;

struct RichEditLibrary {
    const wchar_t* dll;
    const wchar_t* windowClass;
};

// The newer library first; the class of each is registered when it loads, and it
// stays loaded for the editor's lifetime, as other windows of the class may live on.
constexpr RichEditLibrary kRichEditLibraries[] = {
    {L"riched20.dll", L"RichEdit20W"},
    {L"riched32.dll", L"RICHEDIT"},
};

} // namespace

void ShowProgramMessage(unsigned id) {
    ShowMessage(GetActiveWindow(), KeywrightString(id), Caption::ProgramName);
}

namespace {

struct StreamSource {
    const std::string* text;
    std::size_t at;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read) {
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(size),
                                              source->text->size() - source->at);
    std::memcpy(buffer, source->text->data() + source->at, count);
    source->at += count;
    *read = static_cast<LONG>(count);
    return 0;
}

} // namespace

HWND CreateDetailWindow(HWND dialog, int id) {
    const wchar_t* windowClass = nullptr;
    for (const RichEditLibrary& library : kRichEditLibraries) {
        if (GetModuleHandleW(library.dll) || LoadLibraryW(library.dll)) {
            windowClass = library.windowClass;
            break;
        }
    }
    if (!windowClass) {
        ShowProgramMessage(kStrRichEditLibrary);
        return nullptr;
    }
    HWND detail = CreateWindowExW(
        WS_EX_CLIENTEDGE, windowClass, L"",
        WS_CHILD | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 10,
        10, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), OwnInstance(),
        nullptr);
    if (!detail)
        ShowProgramMessage(kStrRichEditWindow);
    return detail;
}

void ShowDetail(HWND detail, const std::vector<DetailSegment>& segments) {
    if (!detail)
        return;
    if (segments.empty()) {
        SetWindowTextW(detail, L"");
        return;
    }
    std::string rtf = DetailRtf(segments);
    StreamSource source{&rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = &ReadStream;
    SendMessageW(detail, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void HelpPopup::Show(HWND dialog, HWND control, const std::wstring& text) {
    Hide();
    if (!tip_) {
        tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_BALLOON, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, OwnInstance(),
                               nullptr);
        if (!tip_)
            return;
        dialog_ = dialog;
        SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, kHelpWidth);
    }
    text_ = text;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = dialog;
    tool.lpszText = &text_[0];
    SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    RECT r{};
    GetWindowRect(control ? control : dialog, &r);
    SendMessageW(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom));
    SendMessageW(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    SetTimer(dialog, kTimerId, kHelpShownMs, nullptr);
}

void HelpPopup::Hide() {
    if (!tip_)
        return;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog_;
    SendMessageW(tip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    KillTimer(dialog_, kTimerId);
}

} // namespace keywright
