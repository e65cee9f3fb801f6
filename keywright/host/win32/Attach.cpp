// Attach and detach: the editor's windows are found through its host profile, the
// add-in's own windows are added and the editor's are subclassed; detaching restores
// them before the editor handles its own close.
#include "host/win32/Attach.h"

#include "bookmarks/win32/BookmarkFolderWin32.h"
#include "bookmarks/win32/BookmarkPane.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/DataTransfer.h"
#include "host/win32/DebugWindow.h"
#include "host/win32/EditorTreeView.h"
#include "host/win32/Exports.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/HiddenControlWindow.h"
#include "host/win32/HookProcedure.h"
#include "host/win32/KeywrightMenu.h"
#include "host/win32/Layout.h"
#include "host/win32/NotificationProc.h"
#include "host/win32/SplitterClass.h"
#include "host/win32/Toolbar.h"
#include "settings/SettingsStore.h"

#include <commctrl.h>

#include <cstdint>
#include <memory>

namespace keywright {

namespace {

std::unique_ptr<Attachment> g_attachment;

void AddStyle(HWND window, LONG_PTR add, LONG_PTR remove) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SetWindowLongPtrW(window, GWL_STYLE, (style | add) & ~remove);
}

} // namespace

Attachment::~Attachment() {
    Release();
}

void Attachment::Release() {
    frameSubclass_.Restore();
    listSubclass_.Restore();
    treeSubclass_.Restore();
    containerSubclass_.Restore();
    // The pane revokes its drop target while OLE still runs.
    pane_.reset();
    if (fs_)
        temporaryFiles_.DeleteAll(*fs_);
    if (transfer_.oleInitialized)
        ShutDownDataTransfer();
    transfer_.oleInitialized = false;
}

HWND Attachment::bookmarkPane() const {
    return pane_ ? pane_->hwnd() : nullptr;
}

void Attachment::OpenBookmarkPane(HWND frame) {
    BookmarkPaneContext context;
    context.instance = OwnInstance();
    context.frame = frame;
    context.folder = FindBookmarkFolder(*fs_, OwnInstance());
    context.transfer = transfer_;
    context.tookFocus = [this] { NoteFocus(FocusPane::Bookmarks); };
    context.enableAccelerators = [](bool enabled) { EnableAccelerators(enabled); };
    pane_ = std::make_unique<BookmarkPane>(std::move(context));
    if (!pane_->Create())
        pane_.reset();
}

Attachment* CurrentAttachment() {
    return g_attachment.get();
}

bool BookmarkTreeHasFocus() {
    Attachment* attachment = CurrentAttachment();
    HWND pane = attachment ? attachment->bookmarkPane() : nullptr;
    return pane && SendMessageW(pane, kMsgBookmarkHasFocus, 0, 0) == 1;
}

void Attach(HWND frame) {
    AddinContext& context = Addin();
    if (context.attached())
        return;
    HostWindows windows;
    const HostProfile* profile = DetectHost(frame, &windows);
    if (!profile)
        return;
    context.editor = windows;
    context.editorInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(frame, GWLP_HINSTANCE));
    context.rootText = TreeRootText(windows.tree);

    auto attachment = std::make_unique<Attachment>();
    Attachment& a = *attachment;
    a.fs_ = kestrix::MakeSystemFileSystem();
    a.transfer_.oleInitialized = InitializeDataTransfer(&a.transfer_.privateFormat);
    a.transfer_.fs = a.fs_.get();
    a.transfer_.temporaryFiles = &a.temporaryFiles_;
    a.transfer_.temporaryFolder = SystemTemporaryFolder();
    a.transfer_.show = [frame](const std::string& text) {
        ShowAddinMessage(frame, text, MB_OK | MB_ICONEXCLAMATION);
    };
    a.transfer_.trace = [](const char* line) { LogLine(AddinDebugLog(), line); };
    RegisterSplitterClass(context.editorInstance);

    a.toolbar_ = CreateAddinToolbar(frame, OwnInstance(), *profile, WantFlatToolbar());
    a.OpenBookmarkPane(frame);
    // A container that paints its whole area would paint over the bookmark pane,
    // which lies on top of its lower right part.
    if (windows.paneContainer != frame)
        AddStyle(windows.paneContainer, WS_CLIPSIBLINGS, 0);

    a.frameSubclass_ = kestrix::ui::WindowSubclass(frame, VelmaraWndProc);
    if (windows.paneContainer != frame)
        a.containerSubclass_ =
            kestrix::ui::WindowSubclass(windows.paneContainer, PaneContainerProc);
    a.listSubclass_ = kestrix::ui::WindowSubclass(windows.list, VelmaraListCtrlProc);
    a.treeSubclass_ = kestrix::ui::WindowSubclass(windows.tree, VelmaraTreeCtrlProc);

    // Dragging a key raises TVN_BEGINDRAG only without this style.
    AddStyle(windows.tree, 0, TVS_DISABLEDRAGDROP);
    g_attachment = std::move(attachment);
    context.profile = profile;
    UseEditorAccelerators(
        frame, LoadAcceleratorsW(context.editorInstance,
                                 MAKEINTRESOURCEW(profile->acceleratorTable)));
    LayOutEditorPanesNow();
    UpdateHistoryButtons();
    InsertKeywrightMenu(frame, OwnInstance(), profile->menuPosition);

    std::uint32_t showDebugWindow = 0;
    if (ReadSetting(AddinSettings(), kSettingShowDebugWnd, &showDebugWindow,
                    sizeof showDebugWindow) == 1 &&
        showDebugWindow == 1)
        OpenDebugWindow();
}

void Detach() {
    AddinContext& context = Addin();
    if (!context.attached())
        return;
    RememberCurrentLocation();
    ModelessWindows().CloseAll();
    UseEditorAccelerators(nullptr, nullptr);
    // The toolbar is a child of the frame and goes with it; the pane goes with the
    // attachment.
    g_attachment.reset();
    context.profile = nullptr;
    if (HWND hidden = HiddenControlWindowHandle())
        SendMessageW(hidden, WM_CLOSE, 0, 0);
}

} // namespace keywright
