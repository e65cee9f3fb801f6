// Builds the add-in's popup in code and answers the menu's status and enabling messages.
#include "host/win32/KeywrightMenu.h"

#include "strings/KeywrightStrings.h"

#include <commctrl.h>

namespace keywright {

namespace {

struct MenuEntry {
    WORD id; // 0: separator
    const char* text;
};

constexpr MenuEntry kMenu[] = {
    {kCmdCreateBookmark, "&Create Bookmark\tCtrl+B"},
    {kCmdCreateBookmarkFolder, "Create &Bookmark Folder\tCtrl+D"},
    {0, nullptr},
    {kCmdSearch, "&Search Registry...\tCtrl+S"},
    {kCmdReplace, "&Replace...\tCtrl+R"},
    {0, nullptr},
    {kCmdPreview, "&Preview File...\tCtrl+V"},
    {kCmdMailSubkey, "&Mail Subkey...\tCtrl+M"},
    {0, nullptr},
    {kCmdOptions, "&Options...\tCtrl+O"},
    {kCmdContactSupport, "Co&ntact Support..."},
    {kCmdHelp, "&Help on Keywright..."},
    {kCmdAbout, "&About Keywright..."},
};

} // namespace

AcceleratorTable CreateKeywrightAccelerators() {
    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'B', kCmdCreateBookmark},
        {FVIRTKEY | FCONTROL, 'D', kCmdCreateBookmarkFolder},
        {FVIRTKEY | FCONTROL, 'M', kCmdMailSubkey},
        {FVIRTKEY | FCONTROL, 'O', kCmdOptions},
        {FVIRTKEY | FCONTROL, 'R', kCmdReplace},
        {FVIRTKEY | FCONTROL, 'S', kCmdSearch},
        {FVIRTKEY | FCONTROL, 'V', kCmdPreview},
    };
    return AcceleratorTable(CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
}

void InsertKeywrightMenu(HWND frame, int position) {
    HMENU bar = GetMenu(frame);
    if (!bar)
        return;
    HMENU popup = CreatePopupMenu();
    if (!popup)
        return;
    for (const MenuEntry& entry : kMenu) {
        if (entry.id == 0)
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(popup, MF_STRING, entry.id, entry.text);
    }
    // Once inserted, the popup belongs to the bar and is destroyed with it.
    if (!InsertMenuA(bar, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP,
                     reinterpret_cast<UINT_PTR>(popup), "&Keywright")) {
        DestroyMenu(popup);
        return;
    }
    DrawMenuBar(frame);
}

bool ShowMenuStatus(HWND statusBar, WPARAM statusPart, WORD itemId, WORD flags) {
    if ((flags & MF_POPUP) || itemId < kStrFirstMenuStatus || itemId > kStrLastMenuStatus)
        return false;
    const char* text = KeywrightString(itemId);
    if (statusBar && text)
        SendMessageA(statusBar, SB_SETTEXTA, statusPart, reinterpret_cast<LPARAM>(text));
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
