// The "Examples" definition page: example expressions and what they find.
#include "app/win32/SearchExamplePage.h"

#include "app/win32/SearchExamplePageIds.h"
#include "app/win32/WideText.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

// Tab stops in dialog units, margins in pixels.
constexpr int kTabStops[] = {60, 120};
constexpr int kMargin = 10;

// An edit field breaks lines at carriage return and line feed only.
std::wstring WithWindowsLineEnds(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L'\r';
        out += c;
    }
    return out;
}

} // namespace

bool CSearchExamplePage::OnInit() {
    int stops[] = {kTabStops[0], kTabStops[1]};
    SendItem(IDC_EXAMPLES, EM_SETTABSTOPS, 2, reinterpret_cast<LPARAM>(stops));
    SendItem(IDC_EXAMPLES, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
             MAKELPARAM(kMargin, kMargin));
    SetItemText(IDC_EXAMPLES, WithWindowsLineEnds(Wide(SorbexString(IDS_SEARCH_EXAMPLES))));
    return true;
}

bool CSearchExamplePage::OnSize(UINT, int width, int height) {
    MoveWindow(Item(IDC_EXAMPLES), 0, 0, width, height, TRUE);
    return true;
}

} // namespace sorbex
