// The toolbar: 14 buttons from bitmap 104, the editor's own commands among them by the
// host profile's numbers. Tooltips are asked for by command and looked up in one table.
#include "host/win32/Toolbar.h"

#include "host/win32/AddinContext.h"
#include "host/win32/KeywrightMenu.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace keywright {

namespace {

constexpr int kImageSize = 16;
constexpr int kSeparator = -1;

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
        {kCmdSearch, 102},         {kCmdReplace, 103},       {host.cmdDelete, 104},
        {kCmdCreateBookmark, 105}, {kCmdGoBack, 106},        {kCmdGoForward, 107},
        {host.cmdNewKey, 108},     {host.cmdNewString, 109}, {host.cmdNewDword, 110},
        {host.cmdNewBinary, 111},  {host.cmdRefresh, 112},   {kCmdMailSubkey, 113},
        {kCmdPreview, 114},        {kCmdOptions, 115},
    };
    for (const Tooltip& entry : table)
        if (entry.command == command)
            return entry.stringId;
    return 0;
}

// The major and minor file version of the common controls in use.
bool CommonControlsVersion(DWORD* major, DWORD* minor) {
    HMODULE module = LoadLibraryA("comctl32.dll");
    if (!module)
        return false;
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    FreeLibrary(module);
    if (length == 0 || length >= MAX_PATH)
        return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0)
        return false;
    std::unique_ptr<char[]> data(new char[size]);
    if (!GetFileVersionInfoA(path, 0, size, data.get()))
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueA(data.get(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
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
    return CommonControlsVersion(&major, &minor) && major * 1000 + minor > 4070;
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
    // One buffer of 80 bytes per character set; the tooltip copies the text at once.
    static char narrow[80];
    static wchar_t wide[80];
    const char* text = KeywrightString(TooltipString(host, header->idFrom));
    if (!text)
        text = "";
    if (header->code == TTN_NEEDTEXTW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, static_cast<int>(std::size(wide)));
        wide[std::size(wide) - 1] = L'\0';
        info->lpszText = wide;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(narrow, text, sizeof narrow);
        info->lpszText = narrow;
        info->hinst = nullptr;
    }
}

void UpdateHistoryButtons() {
    AddinContext& context = Addin();
    if (!context.toolbar)
        return;
    SendMessageW(context.toolbar, TB_ENABLEBUTTON, kCmdGoBack,
                 MAKELONG(CanGoBack(context.history) ? TRUE : FALSE, 0));
    SendMessageW(context.toolbar, TB_ENABLEBUTTON, kCmdGoForward,
                 MAKELONG(CanGoForward(context.history) ? TRUE : FALSE, 0));
}

} // namespace keywright
