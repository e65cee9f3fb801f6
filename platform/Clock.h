// The millisecond clock seam: what portable code times runs and refreshes with.
#pragma once

#include <cstdint>
#include <memory>

namespace kestrix {

// A tick count in milliseconds from an arbitrary origin. It wraps around after about
// 49 days, so callers take differences in unsigned 32-bit arithmetic.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Milliseconds() = 0;
};

// A clock that never runs backwards when the system time is set.
std::unique_ptr<Clock> MakeSteadyClock();

} // namespace kestrix
