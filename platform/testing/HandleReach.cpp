// How far the process's handle table reaches, for tests that look for handles left open.
#include "platform/testing/ProcessUsage.h"

#include <algorithm>

#include <windows.h>

namespace kestrix {

std::uintptr_t HandleReach() {
    HANDLE events[32];
    std::uintptr_t highest = 0;
    for (HANDLE& event : events) {
        event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        highest = std::max(highest, reinterpret_cast<std::uintptr_t>(event));
    }
    for (HANDLE event : events)
        CloseHandle(event);
    return highest;
}

} // namespace kestrix
