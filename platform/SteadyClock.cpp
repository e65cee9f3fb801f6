// The clock seam over the standard library's monotonic clock.
#include <chrono>

#include "platform/Clock.h"

namespace kestrix {
namespace {

class SteadyClock : public Clock {
public:
    std::uint32_t Milliseconds() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        // Truncation to 32 bits is the wrap-around every caller expects.
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

} // namespace

std::unique_ptr<Clock> MakeSteadyClock() {
    return std::make_unique<SteadyClock>();
}

} // namespace kestrix
