// The toolbar: 14 buttons from bitmap 104, the editor's own commands among them by the
// host profile's numbers. Tooltips are asked for by command and looked up in one table.
#include "host/win32/Toolbar.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/Attach.h"
#include "host/win32/KeywrightMenu.h"
#include "platform/win32/AnsiText.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace keywright {

namespace {

constexpr int kImageSize = 16;
constexpr int kSeparator = -1;
// The common controls from which on the flat style is drawn correctly (4.71).
constexpr DWORD kFlatStyleVersion = 4071;
constexpr DWORD kVersionMajorFactor = 1000;
constexpr wchar_t kCommonControls[] = L"comctl32.dll";
constexpr wchar_t kRootBlock[] = L"\\";
// A tooltip's text is copied by the control at once; one buffer per character set.
constexpr std::size_t kTooltipText = 80;

struct ButtonPlan {
    int image; // kSeparator for a gap
    WORD command;
};

struct Tooltip {
    WORD command;
    unsigned stringId;
};

// The buttons in order; the editor's commands depend on the host.
void ListButtons(const HostProfile& host, ButtonPlan (&buttons)[kToolbarButtonCount]) {
    const ButtonPlan list[kToolbarButtonCount] = {
        {6, host.cmdNewKey},    {7, host.cmdNewString},  {8, host.cmdNewDword},
        {9, host.cmdNewBinary}, {10, host.cmdRefresh},   {kSeparator, 0},
        {2, host.cmdDelete},    {kSeparator, 0},         {0, kCmdSearch},
        {1, kCmdReplace},       {3, kCmdCreateBookmark}, {4, kCmdGoBack},
        {5, kCmdGoForward},     {12, kCmdPreview},
    };
    std::memcpy(buttons, list, sizeof list);
}

unsigned TooltipString(const HostProfile& host, UINT_PTR command) {
    const Tooltip table[] = {
        {kCmdSearch, kStrTipSearch},
        {kCmdReplace, kStrTipReplace},
        {host.cmdDelete, kStrTipDelete},
        {kCmdCreateBookmark, kStrTipNewBookmark},
        {kCmdGoBack, kStrTipGoBack},
        {kCmdGoForward, kStrTipGoForward},
        {host.cmdNewKey, kStrTipNewKey},
        {host.cmdNewString, kStrTipNewString},
        {host.cmdNewDword, kStrTipNewDword},
        {host.cmdNewBinary, kStrTipNewBinary},
        {host.cmdRefresh, kStrTipRefresh},
        {kCmdMailSubkey, kStrTipMailSubkey},
        {kCmdPreview, kStrTipPreview},
        {kCmdOptions, kStrTipOptions},
    };
    for (const Tooltip& entry : table)
        if (entry.command == command)
            return entry.stringId;
    return 0;
}

// The major and minor file version of the common controls in use.
bool CommonControlsVersion(DWORD* major, DWORD* minor) {
    HMODULE module = LoadLibraryW(kCommonControls);
    if (!module)
        return false;
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    FreeLibrary(module);
    if (length == 0 || length >= MAX_PATH)
        return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0)
        return false;
    std::unique_ptr<char[]> data(new char[size]);
    if (!GetFileVersionInfoW(path, 0, size, data.get()))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueW(data.get(), kRootBlock, reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof *info)
        return false;
    *major = HIWORD(info->dwFileVersionMS);
    *minor = LOWORD(info->dwFileVersionMS);
    return true;
}

} // namespace

bool WantFlatToolbar() {
    std::uint32_t flat = 1;
    if (ReadSetting(AddinSettings(), kSettingFlatTb, &flat, sizeof flat) != 1 || flat != 1)
        return false;
    DWORD major = 0, minor = 0;
    return CommonControlsVersion(&major, &minor) &&
           major * kVersionMajorFactor + minor >= kFlatStyleVersion;
}

HWND CreateAddinToolbar(HWND frame, HINSTANCE own, const HostProfile& host, bool flat) {
    ButtonPlan plan[kToolbarButtonCount];
    ListButtons(host, plan);
    TBBUTTON buttons[kToolbarButtonCount] = {};
    for (int i = 0; i < kToolbarButtonCount; ++i) {
        if (plan[i].image == kSeparator) {
            buttons[i].fsStyle = TBSTYLE_SEP;
            continue;
        }
        buttons[i].iBitmap = plan[i].image;
        buttons[i].idCommand = plan[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    DWORD style = WS_CHILD | WS_BORDER | TBSTYLE_TOOLTIPS | (flat ? TBSTYLE_FLAT : 0);
    return CreateToolbarEx(frame, style, kToolbarId, KW_TOOLBAR_IMAGES, own, KW_IDB_TOOLBAR,
                           buttons, kToolbarButtonCount, kImageSize, kImageSize, kImageSize,
                           kImageSize, sizeof(TBBUTTON));
}

void FillToolbarTooltip(const HostProfile& host, NMHDR* header) {
    // The control asks in the character set of the editor's window, so both are
    // answered.
    static char narrow[kTooltipText];
    static wchar_t wide[kTooltipText];
    const char* text = KeywrightString(TooltipString(host, header->idFrom));
    if (!text)
        text = "";
    if (header->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        lstrcpynW(wide, kestrix::WideFromAnsi(text).c_str(), static_cast<int>(kTooltipText));
        info->lpszText = wide;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(narrow, text, static_cast<int>(kTooltipText));
        info->lpszText = narrow;
        info->hinst = nullptr;
    }
}

void UpdateHistoryButtons() {
    Attachment* attachment = CurrentAttachment();
    HWND toolbar = attachment ? attachment->toolbar() : nullptr;
    if (!toolbar)
        return;
    const NavigationHistory& history = Addin().history;
    SendMessageW(toolbar, TB_ENABLEBUTTON, kCmdGoBack,
                 MAKELONG(CanGoBack(history) ? TRUE : FALSE, 0));
    SendMessageW(toolbar, TB_ENABLEBUTTON, kCmdGoForward,
                 MAKELONG(CanGoForward(history) ? TRUE : FALSE, 0));
}

} // namespace keywright
