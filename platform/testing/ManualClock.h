// A clock for tests that shows the time it is set to and moves on a fixed step per reading.
#pragma once

#include "platform/Clock.h"

namespace kestrix {

class ManualClock : public Clock {
public:
    std::uint32_t now = 0;
    std::uint32_t stepPerReading = 0; // added after every reading, so that time passes
    int readings = 0;

    std::uint32_t Milliseconds() override {
        ++readings;
        const std::uint32_t shown = now;
        now += stepPerReading;
        return shown;
    }
};

} // namespace kestrix
