// The message loop helper.
#include "platform/win32/ui/MessageLoop.h"

#include "platform/win32/ui/FailureGuard.h"

namespace kestrix::ui {

void MessageLoop::AddAccelerators(HWND target, HACCEL table) {
    if (target && table)
        tables_.push_back(Table{target, table});
}

bool MessageLoop::PreTranslate(MSG& message) const {
    if (first_ && Guarded(
                      message.hwnd, message.message, [&] { return first_(message); },
                      [] { return false; }))
        return true;
    // Modeless windows first: keys typed into one of their controls belong to it, not
    // to a main window's accelerator.
    if (modeless_ && modeless_->Offer(message))
        return true;
    for (const Table& entry : tables_)
        if (TranslateAcceleratorW(entry.target, entry.table, &message))
            return true;
    return filter_ && Guarded(
                          message.hwnd, message.message, [&] { return filter_(message); },
                          [] { return false; });
}

MSG MessageLoop::Run() const {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return message;
}

} // namespace kestrix::ui
