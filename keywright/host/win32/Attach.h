// Attaching the add-in to the editor's windows, and letting go of them again. What
// lives from attach to detach (the add-in's windows on the editor, the subclass guards,
// OLE, which pane has the focus) belongs to one Attachment.
#pragma once

#include "host/PaneLayout.h"
#include "platform/win32/ui/WindowSubclass.h"

#include <windows.h>

namespace keywright {

class Attachment {
public:
    Attachment() = default;
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    HWND toolbar() const { return toolbar_; }
    HWND bookmarkPane() const { return bookmarkPane_; }
    UINT clipboardFormat() const { return clipboardFormat_; }
    FocusPane focusedPane() const { return focusedPane_; }
    void NoteFocus(FocusPane pane) { focusedPane_ = pane; }

private:
    friend void Attach(HWND frame);
    friend void Detach();

    // Puts the editor's procedures back and ends OLE; idempotent.
    void Release();

    HWND toolbar_ = nullptr;
    HWND bookmarkPane_ = nullptr;
    UINT clipboardFormat_ = 0; // "Velmara-Keywright-txt-ClipFormat"
    bool oleInitialized_ = false;
    FocusPane focusedPane_ = FocusPane::Tree;
    kestrix::ui::WindowSubclass frameSubclass_;
    kestrix::ui::WindowSubclass containerSubclass_;
    kestrix::ui::WindowSubclass treeSubclass_;
    kestrix::ui::WindowSubclass listSubclass_;
};

// The attachment while the add-in is attached, else null. Editor's thread only.
Attachment* CurrentAttachment();

void Attach(HWND frame);

// Undoes Attach; safe to call when not attached.
void Detach();

} // namespace keywright
