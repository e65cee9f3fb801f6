// The files of a search read and searched on several threads, their findings handed to
// the run's thread in the order of the file list.
#include "search/SearchWorkers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <utility>

#include "engine/SearchExpression.h"
#include "text/TextSink.h"

namespace sorbex {

struct CSearchWorkers::CState {
    struct CSlot {
        bool done = false;
        CFileFindings findings;
    };

    explicit CState(CSetup s) : setup(std::move(s)) {}

    CSetup setup;
    std::vector<std::size_t> items; // the list entries searched, in order
    std::vector<CSlot> slots;       // item i's findings wait in slot i % size
    std::mutex mutex;
    std::condition_variable workWanted; // a slot came free, or stop
    std::condition_variable workDone;   // a slot was filled, or a worker ended
    std::size_t next = 0;               // the next item a worker takes
    std::size_t taken = 0;              // the next item the run's thread takes
    std::size_t running = 0;            // workers not yet ended
    // The run's thread waits, if it does, for the items from `taken` up to `awaited`.
    std::size_t awaited = SIZE_MAX;
    // Changed under the mutex; read without it by the loaders and evaluations.
    std::atomic<bool> stop{false};
};

namespace {

// How many slots come free before a worker that found none goes on.
std::size_t ResumeWhenFree(std::size_t slots) { return slots / 2 > 0 ? slots / 2 : 1; }

// How many files the run's thread lets the workers finish before it wakes, when it has
// to wait at all: waking once per file cost more processor time than the files' search,
// and waiting for many more would hold the first results back. Never more than the
// workers can finish without it taking any.
std::size_t WakeAfter(std::size_t slots) {
    return std::min(CSearchWorkers::kTakenAtOnce, ResumeWhenFree(slots));
}

// A worker's receiver of its loader's text: evaluates it there and then, so that the
// text is gone before the next file is read.
class CWorkerSink : public CTextSink {
public:
    CWorkerSink(CCompiledSearch& compiled, const std::atomic<bool>& stop, int subexpression,
                bool replaceMode, const CFileEntry& file, CFileFindings& findings)
        : compiled_(compiled), stop_(stop), subexpression_(subexpression),
          replaceMode_(replaceMode), file_(file), findings_(findings) {}

    void ProcessMessages() override {}
    bool CancelRequested() const override { return stop_.load(); }

    // The worker's own loader's list, valid until SearchText returns: the results copy
    // their share of it, so nothing of it crosses to the run's thread.
    void SetOutsideCharacters(const std::vector<COutsideCharacter>& outside) override {
        outside_ = &outside;
    }

    void SetFileStatus(const kestrix::FileStatus& status) override { status_ = &status; }

    void SearchText(const std::shared_ptr<const std::string>& text, int originFlags) override {
        std::unique_ptr<CPassageList> list =
            EvaluateRoot(*compiled_.root, text->c_str(), text->size(), subexpression_);
        // Once stopped, the list and the file entry are no longer anyone's concern.
        if (list && !stop_.load()) {
            AddFileResults(*list, *text, subexpression_, originFlags, replaceMode_, file_,
                           findings_, outside_);
            if (status_ && !findings_.results.empty())
                KeepFileStatus(findings_, file_, status_);
        }
    }

private:
    CCompiledSearch& compiled_;
    const std::atomic<bool>& stop_;
    int subexpression_;
    bool replaceMode_;
    const CFileEntry& file_;
    CFileFindings& findings_;
    const std::vector<COutsideCharacter>* outside_ = nullptr;
    const kestrix::FileStatus* status_ = nullptr; // the loader's, valid until SearchText returns
};

} // namespace

int DefaultSearchThreads() {
    const unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : static_cast<int>(count);
}

CSearchWorkers::CSearchWorkers(CSetup setup)
    : state_(std::make_shared<CState>(std::move(setup))) {
    CState& state = *state_;
    const std::vector<CFileEntry>& files = *state.setup.files;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (IsSearched(files[i]))
            state.items.push_back(i);
    }
    const std::size_t workers = state.setup.compiled.empty() ? 1 : state.setup.compiled.size();
    state.slots.resize(std::max<std::size_t>(state.setup.filesInFlightPerThread, 1) * workers);
    for (const std::shared_ptr<CCompiledSearch>& compiled : state.setup.compiled) {
        {
            std::lock_guard<std::mutex> lock(state.mutex);
            ++state.running;
        }
        try {
            threads_.emplace_back([shared = state_, compiled] { Work(shared, compiled); });
        } catch (const std::system_error&) {
            std::lock_guard<std::mutex> lock(state.mutex);
            --state.running;
            break;
        }
    }
}

CSearchWorkers::~CSearchWorkers() { Stop(); }

void CSearchWorkers::Stop() {
    if (threads_.empty())
        return;
    CState& state = *state_;
    std::unique_lock<std::mutex> lock(state.mutex);
    state.stop.store(true);
    for (const std::shared_ptr<CCompiledSearch>& compiled : state.setup.compiled)
        compiled->registry.Stop();
    state.workWanted.notify_all();
    const bool ended = state.workDone.wait_for(lock, kStopWait, [&] { return state.running == 0; });
    lock.unlock();
    for (std::thread& thread : threads_) {
        if (ended)
            thread.join();
        else
            thread.detach();
    }
    threads_.clear();
}

void CSearchWorkers::Work(const std::shared_ptr<CState>& shared,
                          const std::shared_ptr<CCompiledSearch>& compiled) {
    CState& state = *shared;
    CFileTextLoader loader(*state.setup.fileSystem);
    const bool usable = compiled && compiled->root && !compiled->error;
    std::unique_lock<std::mutex> lock(state.mutex);
    for (;;) {
        // A worker that finds every slot taken waits until half of them are free again,
        // so that it is woken once per few files rather than once per file.
        if (state.next >= state.taken + state.slots.size()) {
            const std::size_t resume = ResumeWhenFree(state.slots.size());
            state.workWanted.wait(lock, [&] {
                return state.stop.load() || state.next >= state.items.size() ||
                       state.next + resume <= state.taken + state.slots.size();
            });
        }
        if (state.stop.load() || state.next >= state.items.size())
            break;
        const std::size_t item = state.next++;
        lock.unlock();
        CFileFindings findings;
        const CFileEntry& file = (*state.setup.files)[state.items[item]];
        if (!usable || (state.setup.onRunThread && state.setup.onRunThread(file))) {
            findings.onRunThread = true;
        } else {
            try {
                SearchOne(state, loader, *compiled, file, findings);
            } catch (...) {
                // Whatever went wrong here goes wrong again on the run's thread, which
                // reports it as a search of one file after another does.
                findings = CFileFindings();
                findings.onRunThread = true;
            }
        }
        lock.lock();
        CState::CSlot& slot = state.slots[item % state.slots.size()];
        slot.findings = std::move(findings);
        slot.done = true;
        // The run's thread waits for a run of slots: it is woken once they are all done.
        if (state.awaited != SIZE_MAX && item >= state.taken && item <= state.awaited &&
            AllDone(state, state.awaited))
            state.workDone.notify_all();
    }
    --state.running;
    state.workDone.notify_all();
}

void CSearchWorkers::SearchOne(CState& state, CFileTextLoader& loader, CCompiledSearch& compiled,
                               const CFileEntry& file, CFileFindings& findings) {
    CTextLoadOptions options = state.setup.options;
    options.sizeKnown = file.statusKnown;
    options.size = file.size;
    CWorkerSink sink(compiled, state.stop, state.setup.subexpression, options.replaceMode, file,
                     findings);
    findings.loaded = loader.LoadFileText(file.dir, file.name, options, &sink);
    if (state.stop.load() || findings.results.empty() || file.statusKnown ||
        findings.statusLooked)
        return;
    // The loader did not look the file up (a converter read it): asked here.
    kestrix::FileStatus status;
    const bool found = !state.setup.fileSystem->GetFileStatus(file.dir + file.name, status);
    KeepFileStatus(findings, file, found ? &status : nullptr);
}

bool CSearchWorkers::AllDone(const CState& state, std::size_t last) {
    if (last == SIZE_MAX)
        return true;
    for (std::size_t item = state.taken; item <= last; ++item) {
        if (!state.slots[item % state.slots.size()].done)
            return false;
    }
    return true;
}

bool CSearchWorkers::Take(std::size_t index, CFileFindings& findings,
                          const std::function<bool()>& whileWaiting) {
    CState& state = *state_;
    std::unique_lock<std::mutex> lock(state.mutex);
    if (threads_.empty() || state.taken >= state.items.size() || state.items[state.taken] != index) {
        findings = CFileFindings();
        findings.onRunThread = true;
        return true;
    }
    CState::CSlot& slot = state.slots[state.taken % state.slots.size()];
    if (!slot.done) {
        const std::size_t left = state.items.size() - state.taken;
        state.awaited = state.taken + std::min(WakeAfter(state.slots.size()), left) - 1;
    }
    // Once the slot wanted is done, a worker that has ended (or stopped) finishes no
    // more of the batch: the wait is over then too.
    const auto ready = [&] {
        return AllDone(state, state.awaited) || (slot.done && state.running == 0);
    };
    while (!slot.done && !state.workDone.wait_for(lock, interval_, ready)) {
        lock.unlock();
        const bool cancelled = whileWaiting();
        lock.lock();
        if (ready())
            break;
        if (cancelled) {
            state.awaited = SIZE_MAX;
            return false;
        }
    }
    state.awaited = SIZE_MAX;
    findings = std::move(slot.findings);
    slot.findings = CFileFindings();
    slot.done = false;
    ++state.taken;
    const bool resume =
        state.next + ResumeWhenFree(state.slots.size()) == state.taken + state.slots.size();
    lock.unlock();
    if (resume)
        state.workWanted.notify_all();
    return true;
}

} // namespace sorbex
