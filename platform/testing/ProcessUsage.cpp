// What this process holds, read from /proc and from the allocator in use.
#include "platform/testing/ProcessUsage.h"

#include <dirent.h>
#include <malloc.h>

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define KESTRIX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTRIX_ASAN 1
#endif
#endif
#ifdef KESTRIX_ASAN
// The sanitizer's runtime provides it; its header does not come with every compiler.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace kestrix {
namespace {

// The entries of a /proc folder, less "." and "..".
int CountEntries(const char* dir) {
    DIR* listing = opendir(dir);
    if (!listing)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(listing))
        if (entry->d_name[0] != '.')
            ++count;
    closedir(listing);
    return count;
}

} // namespace

ProcessUsage MeasureProcessUsage() {
    ProcessUsage usage;
#ifdef KESTRIX_ASAN
    // The sanitizer's allocator replaces malloc's, whose own figures then stay empty.
    usage.heapBytes = __sanitizer_get_current_allocated_bytes();
#else
    usage.heapBytes = mallinfo2().uordblks;
#endif
    // The listing holds a descriptor of its own while it counts.
    const int files = CountEntries("/proc/self/fd");
    usage.openFiles = files < 0 ? -1 : files - 1;
    usage.threads = CountEntries("/proc/self/task");
    return usage;
}

} // namespace kestrix
