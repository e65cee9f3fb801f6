// For tests of the search run: a scratch tree on the real disk, a clock the test moves,
// a recording user interface, and the run that fills its result document.
#pragma once

#include <chrono>
#include <memory>

#include "platform/testing/ManualClock.h"
#include "platform/testing/TempTree.h"
#include "search/SearchController.h"
#include "search/SearchUiRecorder.h"

namespace sorbex {

struct CSearchTestBed {
    // The tests count the run's own pumps: none may come from waiting for work.
    CSearchTestBed() { run.SetPumpInterval(std::chrono::hours(1)); }
    CSearchTestBed(const CSearchTestBed&) = delete;
    CSearchTestBed& operator=(const CSearchTestBed&) = delete;

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    kestrix::ManualClock clock;
    CSearchUiRecorder ui;
    CResultDocument document;
    CSearchController run{*fs, clock, ui, document};
};

} // namespace sorbex
