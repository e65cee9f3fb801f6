// One place per command: the editor's own commands are matched through the host
// profile, the add-in's by their fixed numbers.
#include "host/win32/CommandRouting.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinDialogs.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinPaths.h"
#include "host/win32/Attach.h"
#include "host/win32/BookmarkPane.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/KeywrightMenu.h"
#include "registry/win32/SearchWindow.h"

#include <shellapi.h>

#include <optional>
#include <string>

namespace keywright {

namespace {

constexpr wchar_t kSupportAddress[] = L"mailto:support@example.invalid";
constexpr wchar_t kOpenVerb[] = L"open";
constexpr SHORT kKeyDown = static_cast<SHORT>(0x8000);

void SwitchPane(Attachment& attachment) {
    const HostWindows& editor = Addin().editor;
    bool backward = (GetKeyState(VK_SHIFT) & kKeyDown) != 0;
    FocusPane pane =
        NextFocusPane(attachment.focusedPane(), backward, attachment.bookmarkPane() != nullptr);
    switch (pane) {
    case FocusPane::Tree:
        SetFocus(editor.tree);
        break;
    case FocusPane::List:
        SetFocus(editor.list);
        break;
    case FocusPane::Bookmarks:
        SendMessageW(attachment.bookmarkPane(), kMsgBookmarkFocus, 0, 0);
        break;
    }
}

void ShowHelp(HWND frame) {
    if (std::optional<std::wstring> path = AddinHelpPath())
        WinHelpW(frame, path->c_str(), HELP_FINDER, 0);
}

// A message to the bookmark pane; 0 without one.
LRESULT SendToBookmarkPane(const Attachment& attachment, UINT message) {
    HWND pane = attachment.bookmarkPane();
    return pane ? SendMessageW(pane, message, 0, 0) : 0;
}

} // namespace

bool RouteCommand(HWND frame, WORD command, LRESULT* result) {
    const HostProfile& host = *Addin().profile;
    Attachment* attachment = CurrentAttachment();
    *result = 0;
    if (!attachment)
        return false;
    if (command == host.cmdSwitchPane) {
        SwitchPane(*attachment);
        return true;
    }
    if (command == host.cmdRefresh) {
        if (attachment->bookmarkPane())
            PostMessageW(attachment->bookmarkPane(), kMsgBookmarkReload, 0, 0);
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
        *result = SendToBookmarkPane(*attachment, message);
        return true;
    }
    switch (command) {
    // Each feature that a later part of the add-in brings has its one line here.
    case kCmdCreateBookmark: // bookmarks
        ShowNotAvailableYet(frame);
        return true;
    case kCmdCreateBookmarkFolder:
        *result = SendToBookmarkPane(*attachment, kMsgBookmarkNewFolder);
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
        ShowNotAvailableYet(frame);
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
        ShellExecuteW(frame, kOpenVerb, kSupportAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    default:
        return false;
    }
}

} // namespace keywright
