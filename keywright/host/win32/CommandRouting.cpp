// One place per command: the editor's own commands are matched through the host
// profile, the add-in's by their fixed numbers.
#include "host/win32/CommandRouting.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinDialogs.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/KeywrightMenu.h"
#include "mail/win32/MailSubkeyCommand.h"
#include "registry/win32/SearchWindow.h"
#include "strings/KeywrightStrings.h"

#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace keywright {

namespace {

constexpr char kSupportAddress[] = "mailto:support@example.invalid";

void SwitchPane() {
    AddinContext& context = Addin();
    int step = (GetKeyState(VK_SHIFT) & 0x8000) ? 2 : 1;
    int pane = (context.paneIndex + step) % 3;
    // Without a bookmark pane the cycle skips its place.
    if (pane == 2 && !context.bookmarkPane)
        pane = (pane + step) % 3;
    if (pane == 0)
        SetFocus(context.editor.tree);
    else if (pane == 1)
        SetFocus(context.editor.list);
    else
        SendMessageW(context.bookmarkPane, kMsgBookmarkFocus, 0, 0);
}

void ShowHelp(HWND frame) {
    HMODULE module = GetModuleHandleA("keywright.dll");
    if (!module)
        return;
    char buffer[MAX_PATH] = {};
    if (!GetModuleFileNameA(module, buffer, MAX_PATH))
        return;
    std::string path = buffer;
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::size_t at = path.find("KEYWRIGHT.DLL");
    if (at == std::string::npos)
        return;
    path.replace(at, std::string::npos, "keywright.hlp");
    WinHelpA(frame, path.c_str(), HELP_FINDER, 0);
}

} // namespace

bool RouteCommand(HWND frame, WORD command, LRESULT* result) {
    AddinContext& context = Addin();
    const HostProfile& host = *context.profile;
    *result = 0;
    if (command == host.cmdSwitchPane) {
        SwitchPane();
        return true;
    }
    if (command == host.cmdRefresh) {
        if (context.bookmarkPane)
            PostMessageW(context.bookmarkPane, kMsgBookmarkReload, 0, 0);
        return false;
    }
    if (command == host.cmdHelp) {
        if (!BookmarkTreeHasFocus())
            return false;
        PostMessageW(frame, WM_COMMAND, kCmdHelp, 0);
        return true;
    }
    if (command == host.cmdDelete || command == host.cmdRename) {
        if (!BookmarkTreeHasFocus())
            return false;
        UINT message = command == host.cmdDelete ? kMsgBookmarkDelete : kMsgBookmarkRename;
        *result = SendMessageW(context.bookmarkPane, message, 0, 0);
        return true;
    }
    switch (command) {
    // Each feature that a later part of the add-in brings has its one line here.
    case kCmdCreateBookmark: // bookmarks
        ShowNotAvailableYet(frame);
        return true;
    case kCmdCreateBookmarkFolder:
        *result = SendMessageW(context.bookmarkPane, kMsgBookmarkNewFolder, 0, 0);
        return true;
    case kCmdSearch: // the search window
        OpenSearchWindow();
        return true;
    case kCmdReplace: // the replacement wizard
        ShowNotAvailableYet(frame);
        return true;
    case kCmdPreview: // the preview window
        ShowNotAvailableYet(frame);
        return true;
    case kCmdMailSubkey: // mail
        RunMailSubkeyCommand(frame);
        return true;
    case kCmdOptions:
        ShowOptionsDialog(frame);
        return true;
    case kCmdHelp:
        ShowHelp(frame);
        return true;
    case kCmdAbout:
        ShowAboutBox(frame);
        return true;
    case kCmdGoForward:
        GoForwardInHistory();
        return true;
    case kCmdGoBack:
        GoBackInHistory();
        return true;
    case kCmdContactSupport:
        ShellExecuteA(frame, "open", kSupportAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    default:
        return false;
    }
}

} // namespace keywright
