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

#ifdef _WIN32
// How far the process's handle table reaches: the highest of a few new handles. Where
// the system counts no handles (Wine's count says 0) it hands out the lowest free ones,
// so that handles left open push new ones up.
std::uintptr_t HandleReach();
#else
ProcessUsage MeasureProcessUsage();
#endif

} // namespace kestrix
