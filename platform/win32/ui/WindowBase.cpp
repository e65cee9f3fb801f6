// The shared half of the window and dialog wrappers: common handlers, registration in
// the modeless list, and the end of an object's life.
#include "platform/win32/ui/WindowBase.h"

#include "platform/win32/ui/ModelessWindowList.h"

namespace kestrix::ui {

WindowBase::~WindowBase() {
    if (!hwnd_)
        return;
    // Only an owner-held object can get here with its window open. The window must not
    // reach a half-destroyed object, so it lets go first and closes with the defaults.
    HWND window = hwnd_;
    DetachObject();
    DestroyWindow(window);
}

void WindowBase::Destroy() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

LRESULT WindowBase::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ ? SendMessageW(hwnd_, message, wParam, lParam) : 0;
}

bool WindowBase::Post(UINT message, WPARAM wParam, LPARAM lParam) const {
    return hwnd_ && PostMessageW(hwnd_, message, wParam, lParam);
}

bool WindowBase::HandleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}
bool WindowBase::OnCommand(WORD, WORD, HWND) {
    return false;
}
bool WindowBase::OnNotify(NMHDR&, LRESULT&) {
    return false;
}
bool WindowBase::OnSize(UINT, int, int) {
    return false;
}
bool WindowBase::OnTimer(UINT_PTR) {
    return false;
}
bool WindowBase::OnClose() {
    return false;
}
void WindowBase::OnDestroy() {}

void WindowBase::PrepareCreation(ModelessWindowList* modeless) {
    modeless_ = modeless;
    finished_ = false;
}

void WindowBase::AttachObject(HWND window, int slot) {
    hwnd_ = window;
    slot_ = slot;
    SetWindowLongPtrW(window, slot, reinterpret_cast<LONG_PTR>(this));
}

void WindowBase::EnterModelessList() {
    if (modeless_ && hwnd_ && !modeless_->Add(hwnd_))
        modeless_ = nullptr; // a full list leaves the window out, and so must removal
}

void WindowBase::DetachObject() {
    if (hwnd_) {
        // Messages that still arrive (from a destructor's DestroyWindow) find no object.
        if (GetWindowLongPtrW(hwnd_, slot_) == reinterpret_cast<LONG_PTR>(this))
            SetWindowLongPtrW(hwnd_, slot_, 0);
        if (modeless_)
            modeless_->Remove(hwnd_);
    }
    modeless_ = nullptr;
    hwnd_ = nullptr;
    finished_ = true;
}

bool WindowBase::DispatchCommon(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        result = 0;
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        result = 0;
        return lParam && OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    case WM_SIZE:
        result = 0;
        return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_TIMER:
        result = 0;
        return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_CLOSE:
        result = 0;
        return OnClose();
    case WM_DESTROY:
        OnDestroy();
        return false;
    default:
        return false;
    }
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

DispatchScope::~DispatchScope() {
    if (--object_.depth_ == 0 && object_.finished_ && object_.ownership_ == Ownership::Window)
        delete &object_;
}

} // namespace kestrix::ui
