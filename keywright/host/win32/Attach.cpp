// Attach and detach: the editor's windows are found through its host profile and
// subclassed; detaching restores them before the editor handles its own close.
#include "host/win32/Attach.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/DebugWindow.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/Exports.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/NotificationProc.h"
#include "settings/SettingsStore.h"

#include <cstdint>

namespace keywright {

void Attach(HWND frame) {
    AddinContext& context = Addin();
    if (context.attached)
        return;
    HostWindows windows;
    const HostProfile* profile = DetectHost(frame, &windows);
    if (!profile)
        return;
    context.profile = profile;
    context.editor = windows;
    context.editorInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame, GWLP_HINSTANCE));
    context.editorAccelerators =
        LoadAcceleratorsW(context.editorInstance, MAKEINTRESOURCEW(profile->acceleratorTable));

    context.frameSubclass = WindowSubclass(frame, VelmaraWndProc);
    if (windows.paneContainer != frame)
        context.containerSubclass = WindowSubclass(windows.paneContainer, PaneContainerProc);
    context.listSubclass = WindowSubclass(windows.list, VelmaraListCtrlProc);
    context.treeSubclass = WindowSubclass(windows.tree, VelmaraTreeCtrlProc);

    context.rootText = TreeRootText(windows.tree);
    InsertKeywrightMenu(frame, profile->menuPosition);
    context.attached = true;

    std::uint32_t showDebugWindow = 0;
    if (ReadSetting(AddinSettings(), kSettingShowDebugWnd, &showDebugWindow,
                    sizeof showDebugWindow) == 1 &&
        showDebugWindow == 1)
        CreateDebugWindow(frame);
}

void Detach() {
    AddinContext& context = Addin();
    if (!context.attached)
        return;
    RememberCurrentLocation();
    // Windows leave the list as they close, so it is walked from its end.
    for (int i = context.modelessCount - 1; i >= 0; --i)
        if (i < context.modelessCount)
            SendMessageW(context.modeless[i], WM_CLOSE, 0, 0);
    context.frameSubclass.Restore();
    context.listSubclass.Restore();
    context.treeSubclass.Restore();
    context.containerSubclass.Restore();
    context.attached = false;
    if (context.hiddenWindow)
        SendMessageW(context.hiddenWindow, WM_CLOSE, 0, 0);
}

} // namespace keywright
