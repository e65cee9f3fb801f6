// The one exception guard at the boundary to the system: whatever escapes a handler is
// caught here, reported through the program's hook and never crosses the system's
// message dispatch.
#pragma once

#include <windows.h>

namespace kestrix::ui {

enum class FailureKind {
    OutOfMemory, // std::bad_alloc
    Exception,   // another std::exception; `what` holds its text
    Unknown,     // anything else
};

// What escaped, and where. `what` is valid only while the hook runs.
struct Failure {
    FailureKind kind = FailureKind::Unknown;
    const char* what = "";
    HWND window = nullptr; // the window whose handler failed; may be null
    UINT message = 0;      // the message it was handling; 0 outside a window procedure
};

// Each program sets one hook at start-up (Sorbex shows its string-table text, keywright
// its internal-fault box). The hook runs on the thread that failed; an exception from
// the hook itself is swallowed. Without a hook the failure goes to the debugger output.
using FailureHook = void (*)(const Failure& failure);

// Sets this module's hook and returns the previous one.
FailureHook SetFailureHook(FailureHook hook);

// Reports the exception being handled; call it only inside a catch block. A failure
// raised while the same thread is still reporting one (a handler throwing again under
// the hook's message box) is not reported again.
void ReportCurrentException(HWND window, UINT message) noexcept;

// Runs `body`; if it throws, reports the exception and returns `fallback()` instead.
// For procedures that must stay plain functions (exports, hooks, thread entries).
template <class Body, class Fallback>
auto Guarded(HWND window, UINT message, Body&& body, Fallback&& fallback) noexcept
    -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        ReportCurrentException(window, message);
    }
    try {
        return fallback();
    } catch (...) {
        ReportCurrentException(window, message);
        return decltype(body())();
    }
}

} // namespace kestrix::ui
