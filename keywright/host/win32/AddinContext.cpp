// The process-wide add-in context and its modeless window list.
#include "host/win32/AddinContext.h"

#include "host/win32/AddinMessageBox.h"
#include "platform/win32/Win32Registry.h"

#include <algorithm>

namespace keywright {

AddinContext& Addin() {
    static AddinContext context;
    return context;
}

void AddModelessWindow(HWND window) {
    AddinContext& context = Addin();
    if (context.modelessCount < kMaxModelessWindows)
        context.modeless[context.modelessCount++] = window;
}

void RemoveModelessWindow(HWND window) {
    AddinContext& context = Addin();
    HWND* end = context.modeless + context.modelessCount;
    HWND* found = std::find(context.modeless, end, window);
    if (found == end)
        return;
    std::copy(found + 1, end, found);
    context.modeless[--context.modelessCount] = nullptr;
}

const SettingsBackend& AddinSettings() {
    static kestrix::Win32Registry registry;
    static const SettingsBackend backend{&registry,
                                         [](const char* text) { ShowAddinMessage(nullptr, text); },
                                         "Software\\Velmara\\Keywright\\"};
    return backend;
}

bool BookmarkTreeHasFocus() {
    HWND pane = Addin().bookmarkPane;
    return pane && SendMessageW(pane, kMsgBookmarkHasFocus, 0, 0) == 1;
}

} // namespace keywright
