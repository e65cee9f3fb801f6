// The modeless list: a vector in registration order, touched only on its thread.
#include "platform/win32/ui/ModelessWindowList.h"

#include <algorithm>

namespace kestrix::ui {

bool ModelessWindowList::Add(HWND window) {
    if (Contains(window))
        return true;
    if (!window || windows_.size() >= limit_)
        return false;
    windows_.push_back(window);
    return true;
}

void ModelessWindowList::Remove(HWND window) {
    auto found = std::find(windows_.begin(), windows_.end(), window);
    if (found != windows_.end())
        windows_.erase(found);
}

bool ModelessWindowList::Contains(HWND window) const {
    return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

bool ModelessWindowList::Offer(MSG& message) const {
    // By index: a window that the message closes leaves the list under our feet, and
    // the loop ends right after a window took the message anyway.
    for (std::size_t i = 0; i < windows_.size(); ++i)
        if (IsDialogMessageW(windows_[i], &message))
            return true;
    return false;
}

void ModelessWindowList::CloseAll() {
    for (std::size_t i = windows_.size(); i > 0; --i) {
        if (i > windows_.size())
            continue; // closing one window took others with it
        HWND window = windows_[i - 1];
        SendMessageW(window, WM_CLOSE, 0, 0);
        // A window that stays open after WM_CLOSE (a search finishing first) keeps its
        // place; one that is not a window any more must not stay behind.
        if (!IsWindow(window))
            Remove(window);
    }
}

} // namespace kestrix::ui
