// How often a value that changes many times a second (the run's status line, its progress
// bar, a look at the message queue) reaches the screen: at most once per interval, the
// latest value winning.
#pragma once

#include <cstdint>

namespace sorbex {

// Every call that crosses into the windowing system costs, and a run changes its status
// for every file. The value itself is kept by the caller; the pace says when to show it.
class CDisplayPace {
public:
    explicit CDisplayPace(std::uint32_t intervalMs) : interval_(intervalMs) {}

    // The value changed at `now`: true when it is to be shown at once (the first change
    // since Restart, or the interval has passed); otherwise it waits for Due.
    bool Changed(std::uint32_t now) {
        waiting_ = true;
        return Due(now);
    }
    // True when a waiting value is due at `now`; it counts as shown from then on.
    bool Due(std::uint32_t now) {
        if (!waiting_ || (shown_ && now - lastShown_ < interval_))
            return false;
        waiting_ = false;
        shown_ = true;
        lastShown_ = now;
        return true;
    }
    // The next change is shown at once (a run begins or ends); nothing waits.
    void Restart() {
        waiting_ = false;
        shown_ = false;
    }
    bool waiting() const { return waiting_; }

private:
    std::uint32_t interval_;
    std::uint32_t lastShown_ = 0;
    bool shown_ = false;
    bool waiting_ = false;
};

} // namespace sorbex
