// What this process holds of the system's resources, for tests that look for growth
// over long runs.
#pragma once

#include <cstdint>

namespace kestrix {

struct ProcessUsage {
    std::uint64_t heapBytes = 0; // live allocations
    int openFiles = -1;          // file descriptors; -1 where they cannot be counted
    int threads = -1;
};

ProcessUsage MeasureProcessUsage();

} // namespace kestrix
