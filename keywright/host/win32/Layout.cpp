// Applies the pane layout to the editor's windows. The system's editor has tree and
// list as direct children of its frame, so one deferred batch moves all five windows.
// Wine's editor keeps them in a container that splits them itself: the container
// takes the whole area between toolbar and status bar, and the list then gives up
// its lower half to the bookmark pane.
#include "host/win32/Layout.h"

#include "host/PaneLayout.h"
#include "host/win32/AddinContext.h"
#include "host/win32/Attach.h"

namespace keywright {

namespace {

int Height(HWND window) {
    RECT rect{};
    if (!window || !GetWindowRect(window, &rect))
        return 0;
    return rect.bottom - rect.top;
}

// A window's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Defer(HDWP* batch, HWND window, const PaneRect& r, UINT flags) {
    if (*batch && window)
        *batch =
            DeferWindowPos(*batch, window, nullptr, r.left, r.top, r.width(), r.height(), flags);
}

// The windows one deferred batch moves.
constexpr int kLaidOutWindows = 5;

void LayOutDirectChildren(const PaneLayout& layout, const Attachment& attachment) {
    AddinContext& context = Addin();
    HDWP batch = BeginDeferWindowPos(kLaidOutWindows);
    Defer(&batch, attachment.toolbar(), layout.toolbar, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE);
    Defer(&batch, context.editor.tree, layout.tree, SWP_SHOWWINDOW | SWP_NOZORDER);
    Defer(&batch, context.editor.list, layout.list, SWP_SHOWWINDOW | SWP_NOZORDER);
    Defer(&batch, attachment.bookmarkPane(), layout.bookmarkPane, SWP_NOZORDER);
    Defer(&batch, context.editor.statusBar, layout.statusBar, SWP_NOZORDER);
    if (batch)
        EndDeferWindowPos(batch);
}

void LayOutThroughContainer(const PaneLayout& layout, const Attachment& attachment) {
    AddinContext& context = Addin();
    HWND container = context.editor.paneContainer;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (attachment.toolbar())
        SetWindowPos(attachment.toolbar(), nullptr, 0, 0, layout.toolbar.width(),
                     layout.toolbar.height(), flags | SWP_NOMOVE | SWP_SHOWWINDOW);
    // The container lays out tree and list itself on its WM_SIZE, with full height.
    SetWindowPos(container, nullptr, 0, layout.tree.top, layout.toolbar.width(),
                 layout.tree.height(), flags);
    RECT list = RectIn(context.editor.list, container);
    SetWindowPos(context.editor.list, nullptr, 0, 0, list.right - list.left, layout.list.height(),
                 flags | SWP_NOMOVE);
    if (attachment.bookmarkPane()) {
        RECT inFrame = RectIn(context.editor.list, context.editor.frame);
        int width = layout.toolbar.width() - inFrame.left;
        SetWindowPos(attachment.bookmarkPane(), HWND_TOP, inFrame.left, layout.bookmarkPane.top,
                     width > 0 ? width : 0, layout.bookmarkPane.height(), SWP_NOACTIVATE);
    }
}

} // namespace

void LayOutEditorPanes(int clientWidth, int clientHeight) {
    AddinContext& context = Addin();
    const Attachment* attachment = CurrentAttachment();
    if (!context.attached() || !attachment)
        return;
    HWND frame = context.editor.frame;
    PaneMeasures measures;
    measures.clientWidth = clientWidth;
    measures.clientHeight = clientHeight;
    measures.toolbarHeight = Height(attachment->toolbar());
    measures.statusHeight =
        IsWindowVisible(context.editor.statusBar) ? Height(context.editor.statusBar) : 0;
    RECT tree = RectIn(context.editor.tree, frame);
    RECT list = RectIn(context.editor.list, frame);
    measures.treeWidth = tree.right - tree.left;
    measures.listLeft = list.left;
    PaneLayout layout = LayOutPanes(measures);
    if (context.editor.paneContainer && context.editor.paneContainer != frame)
        LayOutThroughContainer(layout, *attachment);
    else
        LayOutDirectChildren(layout, *attachment);
    InvalidateRect(frame, nullptr, TRUE);
}

void LayOutEditorPanesNow() {
    RECT client{};
    if (GetClientRect(Addin().editor.frame, &client))
        LayOutEditorPanes(client.right, client.bottom);
}

} // namespace keywright
