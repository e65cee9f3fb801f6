// Tests of the work thread: jobs run and report, and a job given up leaves the next alone.
#include "search/WorkThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>

namespace sorbex {
namespace {

using namespace std::chrono_literals;

constexpr auto kLongWait = 60s; // only a broken thread would take that long

TEST(WorkThreadTest, RunsJobsOneAfterAnotherAndPassesTheirFailuresOn) {
    CWorkThread work;
    work.SetPollInterval(std::chrono::hours(1));
    std::string order;
    int pumps = 0;
    auto pump = [&] {
        ++pumps;
        return false;
    };
    EXPECT_TRUE(work.Run([&] { order += "a"; }, pump));
    EXPECT_TRUE(work.Run([&] { order += "b"; }, pump));
    EXPECT_EQ("ab", order);
    EXPECT_EQ(0, pumps); // a quick job waits for no pump
    EXPECT_THROW(work.Run([] { throw std::runtime_error("job"); }, pump), std::runtime_error);
    EXPECT_TRUE(work.Run([&] { order += "c"; }, pump)); // and the thread serves on
    EXPECT_EQ("abc", order);
}

TEST(WorkThreadTest, PumpsWhileAJobTakesItsTime) {
    CWorkThread work;
    work.SetPollInterval(1ms);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int pumps = 0;
    EXPECT_TRUE(work.Run([released] { released.wait(); },
                         [&] {
                             if (++pumps == 3)
                                 release.set_value();
                             return false;
                         }));
    EXPECT_GE(pumps, 3);
}

TEST(WorkThreadTest, AJobGivenUpFinishesAloneAndTheNextRunsAtOnce) {
    CWorkThread work;
    work.SetPollInterval(1ms);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto finished = std::make_shared<std::promise<void>>();
    std::future<void> firstFinished = finished->get_future();
    auto stuck = [released, finished] {
        released.wait();
        finished->set_value();
    };
    EXPECT_FALSE(work.Run(stuck, [] { return true; }));

    // The next job runs on a thread of its own while the first is still stuck.
    std::string next;
    EXPECT_TRUE(work.Run([&] { next = "ran"; }, [] { return false; }));
    EXPECT_EQ("ran", next);
    EXPECT_EQ(std::future_status::timeout, firstFinished.wait_for(0s));

    release.set_value();
    EXPECT_EQ(std::future_status::ready, firstFinished.wait_for(kLongWait));
}

} // namespace
} // namespace sorbex
