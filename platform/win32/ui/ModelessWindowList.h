// The modeless windows of one thread whose keyboard messages the message loop offers to
// IsDialogMessage, so that Tab, Enter and Escape work in them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <limits>
#include <vector>

namespace kestrix::ui {

class ModelessWindowList {
public:
    static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

    // A program whose own rules cap the list passes its limit; by default there is none.
    explicit ModelessWindowList(std::size_t limit = kNoLimit) : limit_(limit) {}

    // Appends a window; false (and nothing added) when the list is full. A window
    // already in the list stays where it is.
    bool Add(HWND window);
    // Removes a window; the later ones move up. Nothing when it is not in the list.
    void Remove(HWND window);
    bool Contains(HWND window) const;
    std::size_t size() const { return windows_.size(); }
    std::size_t limit() const { return limit_; }
    const std::vector<HWND>& windows() const { return windows_; }

    // Offers the message to IsDialogMessage of each window in list order; true when one
    // took it.
    bool Offer(MSG& message) const;

    // Sends WM_CLOSE to every window, last first; windows leave the list as they close.
    void CloseAll();

private:
    std::size_t limit_;
    std::vector<HWND> windows_;
};

} // namespace kestrix::ui
