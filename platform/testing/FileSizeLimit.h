// A full disk on demand, for tests of what a write cut off half-way leaves behind.
#pragma once

#ifndef _WIN32
#include <csignal>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace kestrix {

// While it lives, the process writes no file beyond `bytes`: the write that reaches the
// limit stops there and the next one fails with EFBIG, which the platform reports as a
// full medium. The signal the system sends with it is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = saved_;
        limited.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the system refused the limit; the test has nothing to test then.
    bool active() const { return active_; }

private:
    struct rlimit saved_ {};
    void (*previous_)(int) = nullptr;
    bool active_ = false;
};

// Cut points for a write: every this many bytes once more. A prime lands inside every
// kind of sector of a compound file.
constexpr rlim_t kWriteCutStep = 509;

// The whole file as it is on the disk; empty when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace kestrix
#endif
