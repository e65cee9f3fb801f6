// Attach and detach: the editor's windows are found through its host profile, the
// add-in's own windows are added and the editor's are subclassed; detaching restores
// them before the editor handles its own close.
#include "host/win32/Attach.h"

#include "host/win32/AddinContext.h"
#include "host/win32/BookmarkPane.h"
#include "host/win32/DataTransfer.h"
#include "host/win32/DebugWindow.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/Exports.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/Layout.h"
#include "host/win32/NotificationProc.h"
#include "host/win32/SplitterClass.h"
#include "host/win32/Toolbar.h"
#include "settings/SettingsStore.h"

#include <commctrl.h>

#include <cstdint>

namespace keywright {

namespace {

void AddStyle(HWND window, LONG_PTR add, LONG_PTR remove) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, (style | add) & ~remove);
}

} // namespace

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

    InitializeDataTransfer();
    bool paneClass = RegisterBookmarkPaneClass(context.ownInstance);
    RegisterSplitterClass(context.editorInstance);

    context.toolbar = CreateAddinToolbar(frame, context.ownInstance, *profile, WantFlatToolbar());
    if (paneClass)
        context.bookmarkPane = CreateBookmarkPane(frame, context.ownInstance);
    // A container that paints its whole area would paint over the bookmark pane,
    // which lies on top of its lower right part.
    if (windows.paneContainer != frame)
        AddStyle(windows.paneContainer, WS_CLIPSIBLINGS, 0);

    context.frameSubclass = WindowSubclass(frame, VelmaraWndProc);
    if (windows.paneContainer != frame)
        context.containerSubclass = WindowSubclass(windows.paneContainer, PaneContainerProc);
    context.listSubclass = WindowSubclass(windows.list, VelmaraListCtrlProc);
    context.treeSubclass = WindowSubclass(windows.tree, VelmaraTreeCtrlProc);

    context.rootText = TreeRootText(windows.tree);
    // Dragging a key raises TVN_BEGINDRAG only without this style.
    AddStyle(windows.tree, 0, TVS_DISABLEDRAGDROP);
    context.attached = true;
    LayOutEditorPanesNow();
    UpdateHistoryButtons();
    InsertKeywrightMenu(frame, context.ownInstance, profile->menuPosition);

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
    ShutDownDataTransfer();
}

} // namespace keywright
