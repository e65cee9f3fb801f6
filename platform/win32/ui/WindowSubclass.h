// Replacing a window procedure for as long as a guard lives, with the previous one
// kept in the window's "X-WndProc" property.
#pragma once

#include <windows.h>

namespace kestrix::ui {

class WindowSubclass {
public:
    WindowSubclass() = default;
    WindowSubclass(HWND window, WNDPROC replacement);
    ~WindowSubclass() { Restore(); }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    WindowSubclass(WindowSubclass&& other) noexcept;
    WindowSubclass& operator=(WindowSubclass&& other) noexcept;

    // Puts the previous procedure back and frees the property; idempotent.
    void Restore();
    bool active() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
};

// The procedure a replacement procedure passes messages on to; null when the window
// is not subclassed.
WNDPROC PreviousProcedure(HWND window);

// Passes a message to the previous procedure, or to DefWindowProc when there is none.
LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace kestrix::ui
