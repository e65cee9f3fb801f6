// Helpers of the window base's tests: a failure hook that records what reached it, and a
// pump that runs queued messages through a message loop's pre-translation.
#pragma once

#include "platform/win32/ui/FailureGuard.h"
#include "platform/win32/ui/MessageLoop.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kestrix::ui::testing {

struct RecordedFailure {
    FailureKind kind;
    std::string what;
    HWND window;
    UINT message;
};

inline std::vector<RecordedFailure>& RecordedFailures() {
    static std::vector<RecordedFailure> failures;
    return failures;
}

inline void RecordFailure(const Failure& failure) {
    RecordedFailures().push_back({failure.kind, failure.what, failure.window, failure.message});
}

// Installs the recorder for the life of a test and puts the previous hook back.
class FailureRecorder {
public:
    FailureRecorder() : previous_(SetFailureHook(&RecordFailure)) { RecordedFailures().clear(); }
    ~FailureRecorder() { SetFailureHook(previous_); }
    FailureRecorder(const FailureRecorder&) = delete;
    FailureRecorder& operator=(const FailureRecorder&) = delete;

private:
    FailureHook previous_;
};

// How long PumpUntil waits before it gives up. A test that passes never waits this long;
// a busy machine under Wine can take seconds over what takes milliseconds alone.
constexpr DWORD kPumpLimitMs = 30000;

// Runs the queued messages as a program's loop would, until `done` holds or
// kPumpLimitMs have passed; returns whether `done` held.
template <class Done>
bool PumpUntil(const MessageLoop& loop, Done done) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > kPumpLimitMs)
            return false;
        MSG message{};
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        if (!loop.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

} // namespace kestrix::ui::testing
