// The files of a search read and searched on several threads, their findings handed to
// the run's thread one by one in the order of the file list.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"
#include "search/CompiledSearch.h"
#include "search/FileEntry.h"
#include "search/FileFindings.h"
#include "text/FileTextLoader.h"

namespace sorbex {

// One thread per processor, at least one.
int DefaultSearchThreads();

// Each worker loads files with a loader of its own (no converters, no cache) and
// evaluates them with a compiled expression of its own; only the findings cross to the
// run's thread, which records them, so results, their order and everything the user
// interface sees are those of a search of one file after another. At most
// `filesInFlightPerThread` files per worker are ahead of the run's thread, whatever the
// list holds.
class CSearchWorkers {
public:
    // A worker reads one file at a time; what waits here is the findings of the files
    // it is ahead by (for most files, none), which the page keeps anyway once they are
    // taken. The run's thread sleeps until `kTakenAtOnce` files are done, and a worker
    // that runs out of room until half the room is free: with four per worker both were
    // woken every few files, and two threads cost more processor time in the system's
    // switching than they saved. The room is wide so that a worker seldom finds it full:
    // the run's thread shares the processors with the workers, and with 64 files per
    // worker they waited for it to be given one about every 128 files.
    static constexpr std::size_t kFilesInFlightPerThread = 512;
    static constexpr std::size_t kTakenAtOnce = 64;

    struct CSetup {
        kestrix::FileSystem* fileSystem = nullptr;
        const std::vector<CFileEntry>* files = nullptr;
        CTextLoadOptions options;
        int subexpression = 0;
        std::size_t filesInFlightPerThread = kFilesInFlightPerThread; // at least one
        // One compiled expression per worker; the count of workers.
        std::vector<std::shared_ptr<CCompiledSearch>> compiled;
        // Files that the run's thread loads itself (they reach its converters).
        std::function<bool(const CFileEntry&)> onRunThread;
    };

    // Starts the workers; those the system refuses are done without, and without any
    // every file is left to the run's thread.
    explicit CSearchWorkers(CSetup setup);
    // Stops the workers and waits for them: no thread outlives the run.
    ~CSearchWorkers();
    CSearchWorkers(const CSearchWorkers&) = delete;
    CSearchWorkers& operator=(const CSearchWorkers&) = delete;

    // Whether the run searches `file` at all (directories and nameless entries it
    // passes over); the workers take the same files.
    static bool IsSearched(const CFileEntry& file) { return !file.isDirectory && !file.name.empty(); }

    // The findings of list entry `index`, the next searched one after the last taken.
    // Waits for them, calling `whileWaiting` each poll interval; false (and nothing
    // taken) when it returns true.
    bool Take(std::size_t index, CFileFindings& findings, const std::function<bool()>& whileWaiting);

    // Makes the workers stop at once (evaluations end at their next line, files not yet
    // read are not read) and waits for them. A worker still held by the library after
    // `kStopWait` (a pathological pattern inside one line) is let go, as the work thread
    // lets go of such work: it ends alone, touching nothing but what it owns. Called
    // again, it does nothing.
    void Stop();
    static constexpr std::chrono::milliseconds kStopWait{500};

    std::size_t threadCount() const { return threads_.size(); }
    void SetPollInterval(std::chrono::milliseconds interval) { interval_ = interval; }

private:
    struct CState;

    static void Work(const std::shared_ptr<CState>& state,
                     const std::shared_ptr<CCompiledSearch>& compiled);
    // Whether the items from the next one to take up to `last` are all done.
    static bool AllDone(const CState& state, std::size_t last);
    static void SearchOne(CState& state, CFileTextLoader& loader, CCompiledSearch& compiled,
                          const CFileEntry& file, CFileFindings& findings);

    std::shared_ptr<CState> state_; // shared with the workers, which may outlive the pool
    std::vector<std::thread> threads_;
    std::chrono::milliseconds interval_{50};
};

} // namespace sorbex
