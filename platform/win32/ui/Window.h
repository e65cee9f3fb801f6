// Windows of our own classes: the class registration, creation for an owner or for the
// window itself, and the static procedure that finds the object on the window.
#pragma once

#include "platform/win32/ui/WindowBase.h"

#include <windows.h>

#include <memory>
#include <string>

namespace kestrix::ui {

// A window class whose windows are Window objects. `instance` is the module that
// registers it: the program's, or the DLL's when the code runs in another process.
struct WindowClassParams {
    HINSTANCE instance = nullptr;
    const wchar_t* name = nullptr;
    UINT style = 0;
    HCURSOR cursor = nullptr; // null: the arrow
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    const wchar_t* menuName = nullptr;
};

// Registers the class with Window::Procedure; true when it is registered, now or before.
bool RegisterWindowClass(const WindowClassParams& params);

// How one window is created.
struct WindowParams {
    HINSTANCE instance = nullptr; // the module that registered the class
    const wchar_t* className = nullptr;
    const wchar_t* title = L"";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr; // the owner of a top-level window, the parent of a child
    HMENU menu = nullptr;  // a top-level window's menu
    int childId = 0;       // a child window's control id
};

class Window : public WindowBase {
public:
    // Creates the window for an object that its owner holds; null when that failed.
    // With `modeless`, the window is entered there while it exists.
    HWND Create(const WindowParams& params, ModelessWindowList* modeless = nullptr);

    // A top-level window of a class of its own, owned by `owner`, with the menu
    // `menuId` from `instance`'s resources (0 for none) and the system's application
    // icon: the class is registered first when it is not yet. Null when that failed.
    HWND CreateOwned(HINSTANCE instance, const wchar_t* className, const std::wstring& title,
                     DWORD style, HWND owner, UINT menuId);

    // Creates a window that owns `window`: the base deletes the object after the
    // window's last message. Null when creation failed; the object is gone then too.
    static HWND Open(std::unique_ptr<Window> window, const WindowParams& params,
                     ModelessWindowList* modeless = nullptr);

    // The object of a window of a class registered through RegisterWindowClass; null
    // for any other window. On the window's own thread only.
    static Window* FromHandle(HWND window);

    // The procedure of those classes.
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // For a class whose procedure must be a function of its own (an exported one): that
    // function passes every message here. A window of the class that was created
    // without an object (by CreateWindowEx with no parameter) gets one from `make`,
    // owned by the window.
    using Factory = std::unique_ptr<Window> (*)();
    static LRESULT AdoptingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     Factory make);

protected:
    Window() = default;

    // WM_CREATE; false makes the creation fail (CreateWindowEx returns null).
    virtual bool OnCreate(const CREATESTRUCTW& create);

    // What a message gets that no handler took: DefWindowProc. `window` is passed
    // because the last messages arrive after hwnd() has let go.
    virtual LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HWND CreateFor(const WindowParams& params, ModelessWindowList* modeless);
    LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
};

} // namespace kestrix::ui
