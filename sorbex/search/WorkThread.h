// The thread that compiles and evaluates for the search run, so that the run's own
// thread keeps pumping messages, and a cancel arrives, however long the work takes.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace sorbex {

class CWorkThread {
public:
    CWorkThread() = default;
    // Ends the thread once its job is done; a job that was given up finishes alone.
    ~CWorkThread();
    CWorkThread(const CWorkThread&) = delete;
    CWorkThread& operator=(const CWorkThread&) = delete;

    // Runs `job` on the thread and waits for it, calling `whileWaiting` each time
    // `interval` has passed without the job being done. When `whileWaiting` returns
    // true the job is given up: Run returns false at once, the job runs on to its end
    // unwatched (so it must own, or share, everything it touches) and the next Run
    // starts a thread of its own. True when the job ran to its end; an exception that
    // left the job is thrown here. Without a thread to be had, the job runs inline.
    bool Run(std::function<void()> job, const std::function<bool()>& whileWaiting);

    void SetPollInterval(std::chrono::milliseconds interval) { interval_ = interval; }

private:
    struct Shared;

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    std::chrono::milliseconds interval_{50};
};

} // namespace sorbex
