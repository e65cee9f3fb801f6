// Classifying an escaped exception and handing it to the program's hook.
#include "platform/win32/ui/FailureGuard.h"

#include <atomic>
#include <exception>
#include <new>

namespace kestrix::ui {

namespace {

std::atomic<FailureHook> g_hook{nullptr};

// Per thread: the worker threads of a program may fail while its window thread is
// showing a box of its own.
thread_local bool t_reporting = false;

void WriteToDebugger(const Failure& failure) {
    OutputDebugStringA(failure.kind == FailureKind::OutOfMemory ? "out of memory in a handler\n"
                                                                : "exception in a handler: ");
    if (failure.kind != FailureKind::OutOfMemory) {
        OutputDebugStringA(failure.what);
        OutputDebugStringA("\n");
    }
}

} // namespace

FailureHook SetFailureHook(FailureHook hook) {
    return g_hook.exchange(hook);
}

void ReportCurrentException(HWND window, UINT message) noexcept {
    if (t_reporting)
        return;
    t_reporting = true;
    Failure failure;
    failure.window = window;
    failure.message = message;
    // The exception object lives until the caller's catch block ends, so `what` stays
    // valid for the hook.
    try {
        throw;
    } catch (const std::bad_alloc&) {
        failure.kind = FailureKind::OutOfMemory;
    } catch (const std::exception& error) {
        failure.kind = FailureKind::Exception;
        failure.what = error.what();
    } catch (...) {
        failure.kind = FailureKind::Unknown;
    }
    try {
        if (FailureHook hook = g_hook.load())
            hook(failure);
        else
            WriteToDebugger(failure);
    } catch (...) {
        // The hook failed too; there is nobody left to tell.
    }
    t_reporting = false;
}

} // namespace kestrix::ui
