// The thread that compiles and evaluates for the search run, so that the run's own
// thread keeps pumping messages, and a cancel arrives, however long the work takes.
#include "search/WorkThread.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <utility>

namespace sorbex {

// What the run's thread and the work thread share; the work thread keeps it alive
// after the run has let go of a job.
struct CWorkThread::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::function<void()> job;
    bool hasJob = false;
    bool done = false;
    bool quit = false;
    bool givenUp = false;
    std::exception_ptr failure;
};

CWorkThread::~CWorkThread() {
    if (!thread_.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(shared_->mutex);
        shared_->quit = true;
    }
    shared_->changed.notify_all();
    thread_.join();
}

bool CWorkThread::Run(std::function<void()> job, const std::function<bool()>& whileWaiting) {
    if (!thread_.joinable()) {
        auto shared = std::make_shared<Shared>();
        try {
            thread_ = std::thread([shared] {
                std::unique_lock<std::mutex> lock(shared->mutex);
                for (;;) {
                    shared->changed.wait(lock, [&] { return shared->hasJob || shared->quit; });
                    if (!shared->hasJob)
                        return;
                    std::function<void()> work = std::move(shared->job);
                    shared->hasJob = false;
                    lock.unlock();
                    std::exception_ptr failure;
                    try {
                        work();
                    } catch (...) {
                        failure = std::current_exception();
                    }
                    // What the job holds goes before anyone hears that it is done.
                    work = nullptr;
                    lock.lock();
                    shared->failure = failure;
                    shared->done = true;
                    if (shared->givenUp)
                        return;
                    shared->changed.notify_all();
                }
            });
        } catch (const std::system_error&) {
            job();
            return true;
        }
        shared_ = std::move(shared);
    }
    Shared& shared = *shared_;
    std::unique_lock<std::mutex> lock(shared.mutex);
    shared.job = std::move(job);
    shared.hasJob = true;
    shared.done = false;
    shared.failure = nullptr;
    shared.changed.notify_all();
    auto giveUp = [&] {
        shared.givenUp = true;
        lock.unlock();
        thread_.detach();
        shared_.reset();
    };
    while (!shared.changed.wait_for(lock, interval_, [&] { return shared.done; })) {
        lock.unlock();
        bool cancelled = false;
        try {
            cancelled = whileWaiting();
        } catch (...) {
            lock.lock();
            if (!shared.done) {
                giveUp();
            }
            throw;
        }
        lock.lock();
        if (shared.done)
            break;
        if (cancelled) {
            giveUp();
            return false;
        }
    }
    if (shared.failure)
        std::rethrow_exception(std::exchange(shared.failure, nullptr));
    return true;
}

} // namespace sorbex
