// Dialogs from resource templates: modal, modeless (held by an owner or owning
// themselves) and child dialogs placed inside another window, with the static dialog
// procedure that finds the object on the window.
#pragma once

#include "platform/win32/ui/WindowBase.h"

#include <windows.h>

#include <memory>
#include <string>

namespace kestrix::ui {

enum class DialogKind {
    Modal,    // RunModal: End returns its result to the caller
    Modeless, // Create or Open: End destroys it
    Child,    // CreateChild: a page inside another window; OK and Cancel are not its own
};

class Dialog : public WindowBase {
public:
    // Runs template `id` of `instance` (the program's, or the DLL's) as a modal dialog
    // owned by `owner`. Returns what End was given; -1 when the dialog could not come up
    // (no template, or an exception in OnInit).
    INT_PTR RunModal(HINSTANCE instance, int id, HWND owner);

    // Creates a modeless dialog for an object that its owner holds; null when that
    // failed. With `modeless`, the dialog is entered there while it exists.
    HWND Create(HINSTANCE instance, int id, HWND owner, ModelessWindowList* modeless = nullptr);

    // Creates a dialog from a child template (WS_CHILD | DS_CONTROL) inside `parent`,
    // for an object that its owner holds: a property page, a definition page. The
    // parent becomes a control parent, so the dialog keys reach the page's controls.
    HWND CreateChild(HINSTANCE instance, int id, HWND parent);

    // Creates a modeless dialog that owns `dialog`: the base deletes the object after
    // the dialog's last message. Null when creation failed; the object is gone then too.
    static HWND Open(std::unique_ptr<Dialog> dialog, HINSTANCE instance, int id, HWND owner,
                     ModelessWindowList* modeless = nullptr);

    // The object of one of our dialogs; null for any other window. On its own thread.
    static Dialog* FromHandle(HWND window);

    // The procedure of every dialog made here.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    DialogKind kind() const { return kind_; }

    // Ends a modal dialog with `result`; destroys any other.
    void End(INT_PTR result);

    // The dialog's controls.
    HWND Item(int id) const;
    LRESULT SendItem(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    std::wstring ItemText(int id) const;
    void SetItemText(int id, const std::wstring& text) const;
    bool IsChecked(int id) const;
    void SetChecked(int id, bool checked) const;
    void EnableItem(int id, bool enabled) const;

protected:
    Dialog() = default;

    // WM_INITDIALOG. Returns whether the system gives the focus to the first control
    // (false when the handler set the focus itself).
    virtual bool OnInit();

    // Not taken by OnCommand, IDOK and IDCANCEL end a modal or modeless dialog with
    // their id (Escape and the close box arrive as IDCANCEL).

private:
    HWND CreateModeless(HINSTANCE instance, int id, HWND owner, ModelessWindowList* modeless);
    INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    DialogKind kind_ = DialogKind::Modeless;
};

} // namespace kestrix::ui
