// The add-in's menu and accelerators, loaded from its resources, and the menu's status
// texts and enabling.
#include "host/win32/KeywrightMenu.h"

#include "platform/win32/AnsiText.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>

#include <string>

namespace keywright {

namespace {

constexpr int kMenuTitleSize = 64;

} // namespace

HACCEL LoadKeywrightAccelerators(HINSTANCE own) {
    return LoadAcceleratorsW(own, MAKEINTRESOURCEW(KW_IDA_ACCELERATORS));
}

void InsertKeywrightMenu(HWND frame, HINSTANCE own, int position) {
    HMENU bar = GetMenu(frame);
    if (!bar)
        return;
    HMENU resource = LoadMenuW(own, MAKEINTRESOURCEW(KW_IDM_MENU));
    if (!resource)
        return;
    HMENU popup = GetSubMenu(resource, 0);
    // The popup's title ("&Keywright") comes with it from the resource.
    wchar_t title[kMenuTitleSize] = {};
    GetMenuStringW(resource, 0, title, kMenuTitleSize, MF_BYPOSITION);
    // Taken out of the loaded bar, the popup survives that bar's destruction; once
    // inserted, it belongs to the editor's bar and is destroyed with it.
    if (popup)
        RemoveMenu(resource, 0, MF_BYPOSITION);
    DestroyMenu(resource);
    if (!popup)
        return;
    if (!InsertMenuW(bar, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP,
                     reinterpret_cast<UINT_PTR>(popup), title)) {
        DestroyMenu(popup);
        return;
    }
    DrawMenuBar(frame);
}

bool ShowMenuStatus(HWND statusBar, WPARAM statusPart, WORD itemId, WORD flags) {
    if ((flags & MF_POPUP) || itemId < kStrFirstMenuStatus || itemId > kStrLastMenuStatus)
        return false;
    const char* text = KeywrightString(itemId);
    if (statusBar && text) {
        std::wstring wide = kestrix::WideFromAnsi(text);
        SendMessageW(statusBar, SB_SETTEXTW, statusPart, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    return true;
}

bool PrepareKeywrightPopup(HMENU popup, bool bookmarkTreeHasFocus) {
    if (GetMenuItemID(popup, 0) != kCmdCreateBookmark)
        return false;
    EnableMenuItem(popup, kCmdCreateBookmarkFolder,
                   MF_BYCOMMAND | (bookmarkTreeHasFocus ? MF_ENABLED : MF_GRAYED));
    return true;
}

} // namespace keywright
