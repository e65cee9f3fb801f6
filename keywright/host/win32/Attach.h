// Attaching the add-in to the editor's windows, and letting go of them again. What
// lives from attach to detach (the add-in's windows on the editor, the subclass guards,
// OLE, the bookmark pane, the drop files written for other programs, which pane has the
// focus) belongs to one Attachment.
#pragma once

#include "bookmarks/TemporaryFiles.h"
#include "bookmarks/win32/TransferEnvironment.h"
#include "host/PaneLayout.h"
#include "platform/FileSystem.h"
#include "platform/win32/ui/WindowSubclass.h"

#include <windows.h>

#include <memory>

namespace keywright {

class BookmarkPane;

class Attachment {
public:
    Attachment() = default;
    ~Attachment();
    Attachment(const Attachment&) = delete;
    Attachment& operator=(const Attachment&) = delete;

    HWND toolbar() const { return toolbar_; }
    // The pane's window; null when it could not be created.
    HWND bookmarkPane() const;
    BookmarkPane* pane() const { return pane_.get(); }
    UINT clipboardFormat() const { return transfer_.privateFormat; }
    const TransferEnvironment& transfer() const { return transfer_; }
    FocusPane focusedPane() const { return focusedPane_; }
    void NoteFocus(FocusPane pane) { focusedPane_ = pane; }

private:
    friend void Attach(HWND frame);

// True when the bookmark pane exists and its tree has the focus.
bool BookmarkTreeHasFocus();
    friend void Detach();

    // Puts the editor's procedures back, closes the pane, deletes the drop files and
    // ends OLE; idempotent.
    void Release();
    void OpenBookmarkPane(HWND frame);

    HWND toolbar_ = nullptr;
    std::unique_ptr<kestrix::FileSystem> fs_;
    TemporaryFiles temporaryFiles_;
    TransferEnvironment transfer_; // privateFormat: "Velmara-Keywright-txt-ClipFormat"
    std::unique_ptr<BookmarkPane> pane_;
    FocusPane focusedPane_ = FocusPane::Tree;
    kestrix::ui::WindowSubclass frameSubclass_;
    kestrix::ui::WindowSubclass containerSubclass_;
    kestrix::ui::WindowSubclass treeSubclass_;
    kestrix::ui::WindowSubclass listSubclass_;
};

// The attachment while the add-in is attached, else null. Editor's thread only.
Attachment* CurrentAttachment();

void Attach(HWND frame);

// True when the bookmark pane exists and its tree has the focus.
bool BookmarkTreeHasFocus();

// Undoes Attach; safe to call when not attached.
void Detach();

} // namespace keywright
