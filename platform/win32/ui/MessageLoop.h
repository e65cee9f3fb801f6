// A program's message loop: an optional first filter, modeless windows, then
// accelerators, then the usual translation and dispatch.
#pragma once

#include "platform/win32/ui/ModelessWindowList.h"

#include <windows.h>

#include <functional>
#include <vector>

namespace kestrix::ui {

class MessageLoop {
public:
    // Translates a keyboard message into a command when the program's current tables say
    // so; true when it did. For tables whose target window changes at run time.
    using AcceleratorFilter = std::function<bool(MSG& message)>;

    // `modeless` may be null: a loop without modeless windows.
    explicit MessageLoop(ModelessWindowList* modeless = nullptr) : modeless_(modeless) {}

    // A table whose commands go to `target`, tried in the order added.
    void AddAccelerators(HWND target, HACCEL table);
    // Tried after the fixed tables.
    void SetAcceleratorFilter(AcceleratorFilter filter) { filter_ = std::move(filter); }
    // Tried before the modeless windows: for a window whose own keys must work even in
    // the controls of a modeless bar it holds.
    void SetFirstFilter(AcceleratorFilter filter) { first_ = std::move(filter); }

    // One message's treatment before dispatch: true when a filter, a modeless window or
    // an accelerator took it.
    bool PreTranslate(MSG& message) const;

    // Runs until WM_QUIT (or an error of GetMessage) and returns the last message: its
    // wParam is the program's exit code.
    MSG Run() const;

private:
    struct Table {
        HWND target;
        HACCEL table;
    };
    ModelessWindowList* modeless_;
    std::vector<Table> tables_;
    AcceleratorFilter filter_;
    AcceleratorFilter first_;
};

} // namespace kestrix::ui
