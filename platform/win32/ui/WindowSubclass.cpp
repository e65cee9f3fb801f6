// The subclass guard: the previous procedure lives in a small movable global block
// attached to the window, so any code that holds only the window can find it.
#include "platform/win32/ui/WindowSubclass.h"

#include <utility>

namespace kestrix::ui {

namespace {

constexpr wchar_t kProperty[] = L"X-WndProc";

} // namespace

WindowSubclass::WindowSubclass(HWND window, WNDPROC replacement) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(WNDPROC));
    if (!block)
        return;
    auto* slot = static_cast<WNDPROC*>(GlobalLock(block));
    if (!slot) {
        GlobalFree(block);
        return;
    }
    // The property is set before the procedure is swapped, so the replacement never
    // runs without finding its predecessor.
    *slot = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    GlobalUnlock(block);
    if (!SetPropW(window, kProperty, block)) {
        GlobalFree(block);
        return;
    }
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
    window_ = window;
}

WindowSubclass::WindowSubclass(WindowSubclass&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)) {}

WindowSubclass& WindowSubclass::operator=(WindowSubclass&& other) noexcept {
    if (this != &other) {
        Restore();
        window_ = std::exchange(other.window_, nullptr);
    }
    return *this;
}

void WindowSubclass::Restore() {
    HWND window = std::exchange(window_, nullptr);
    if (!window)
        return;
    auto block = static_cast<HGLOBAL>(RemovePropW(window, kProperty));
    if (!block)
        return;
    if (auto* slot = static_cast<WNDPROC*>(GlobalLock(block))) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*slot));
        GlobalUnlock(block);
    }
    GlobalFree(block);
}

WNDPROC PreviousProcedure(HWND window) {
    auto block = static_cast<HGLOBAL>(GetPropW(window, kProperty));
    if (!block)
        return nullptr;
    WNDPROC previous = nullptr;
    if (auto* slot = static_cast<WNDPROC*>(GlobalLock(block))) {
        previous = *slot;
        GlobalUnlock(block);
    }
    return previous;
}

LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (WNDPROC previous = PreviousProcedure(window))
        return CallWindowProcW(previous, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace kestrix::ui
