// What every window and dialog object shares: the window it is attached to, the common
// handlers, the exception guard around them, and the one place where its lifetime ends.
#pragma once

#include <windows.h>

#include <string>

namespace kestrix::ui {

class ModelessWindowList;

// Who frees a window's object.
enum class Ownership {
    // Whoever created the object holds it (a member, a unique_ptr, the stack). The object
    // may outlive its window; destroying the object destroys a window still open.
    Owner,
    // The window owns its object: the base deletes it after the window's last message
    // (WM_NCDESTROY), once no handler of the object is running any more.
    Window,
};

class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    // Destroys a window that is still open (its handlers no longer reach this object).
    virtual ~WindowBase();

    HWND hwnd() const { return hwnd_; }
    Ownership ownership() const { return ownership_; }

    // Destroys the window; safe from inside one of its own handlers.
    void Destroy();

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    WindowBase() = default;

    // Handlers. Each returns true when it took the message; a message nobody takes gets
    // the default processing (DefWindowProc for windows, the dialog manager's for
    // dialogs). An exception escaping a handler is reported through the failure hook
    // (FailureGuard.h), and the message then gets the default processing too.

    // Asked first, for every message; `result` is what the window answers.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    virtual bool OnCommand(WORD id, WORD code, HWND control);
    virtual bool OnNotify(NMHDR& header, LRESULT& result);
    // WM_SIZE: `kind` is SIZE_RESTORED, SIZE_MINIMIZED, ...; the client size.
    virtual bool OnSize(UINT kind, int width, int height);
    virtual bool OnTimer(UINT_PTR id);
    // Not taken: a window is destroyed, a dialog gets IDCANCEL.
    virtual bool OnClose();
    // Called on WM_DESTROY, while the children still exist; the default processing
    // follows.
    virtual void OnDestroy();

private:
    friend class Window;
    friend class Dialog;
    friend class DispatchScope;

    // Stores the object in the window's slot (GWLP_USERDATA or DWLP_USER).
    void AttachObject(HWND window, int slot);
    // Before creation: a new window, to be entered in `modeless` once created.
    void PrepareCreation(ModelessWindowList* modeless);
    // Registers the window in the modeless list given at creation.
    void EnterModelessList();
    // WM_NCDESTROY: the window lets go of the object.
    void DetachObject();
    // The common handlers; false when none took the message.
    bool DispatchCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;
    int slot_ = GWLP_USERDATA;
    Ownership ownership_ = Ownership::Owner;
    ModelessWindowList* modeless_ = nullptr;
    int depth_ = 0;         // handlers of this object running on the stack
    bool finished_ = false; // the window is gone
};

// The text of any window (its title, or a control's text).
std::wstring WindowText(HWND window);

// Counts one running dispatch (or creation call) of an object, and deletes a
// window-owned object when the outermost one ends after the window is gone.
class DispatchScope {
public:
    explicit DispatchScope(WindowBase& object) : object_(object) { ++object_.depth_; }
    ~DispatchScope();
    DispatchScope(const DispatchScope&) = delete;
    DispatchScope& operator=(const DispatchScope&) = delete;

private:
    WindowBase& object_;
};

} // namespace kestrix::ui
