// The run that a search window and its worker share.
#include "registry/win32/SearchRun.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/ui/FailureGuard.h"

#include <functional>

namespace keywright {

namespace {

constexpr SIZE_T kWorkerStack = 32768;

struct WorkerStart {
    std::function<void()> worker;
    std::shared_ptr<SearchRun> run; // kept until the worker has ended
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    // A thread must not end by an exception.
    kestrix::ui::Guarded(nullptr, 0, [&] { start->worker(); }, [] {});
    return 0;
}

} // namespace

kestrix::Registry& SystemRegistry() {
    static kestrix::Win32Registry registry;
    return registry;
}

SearchRun::SearchRun(SearchEnvironment environment, UINT doneMessage)
    : search(std::move(environment)), doneMessage_(doneMessage),
      clock_(kestrix::MakeSteadyClock()), throttle_(*clock_) {
    search.environment.sendDone = &OnDone;
    search.callbackContext = this;
    search.hitCallback = &OnHit;
    search.progressCallback = &OnProgress;
}

std::shared_ptr<SearchRun> SearchRun::Make(UINT doneMessage) {
    SearchEnvironment env;
    env.registry = &SystemRegistry();
    env.rootText = Addin().rootText;
    HWND frame = Addin().editor.frame;
    env.showMessage = [frame](const std::string& text) { ShowAddinMessage(frame, text); };
    env.tickCount = [] { return static_cast<std::uint32_t>(GetTickCount()); };
    auto run = std::make_shared<SearchRun>(std::move(env), doneMessage);
    // The search holds only a weak handle on its run, or the run would never be freed.
    std::weak_ptr<SearchRun> weak = run;
    run->search.environment.startThread = [weak](std::function<void()> worker) {
        auto start = std::make_unique<WorkerStart>(WorkerStart{std::move(worker), weak.lock()});
        if (!start->run)
            return false;
        HANDLE thread =
            CreateThread(nullptr, kWorkerStack, &WorkerThread, start.get(), 0, nullptr);
        if (!thread)
            return false;
        start.release(); // the thread owns it now
        CloseHandle(thread);
        return true;
    };
    return run;
}

void SearchRun::OnHit(void* context, std::unique_ptr<SearchHit> hit) {
    auto* run = static_cast<SearchRun*>(context);
    std::lock_guard<std::mutex> guard(run->lock_);
    run->pendingHits_.push_back(std::move(hit));
    // One message per batch: the window takes every hit queued by then, so the
    // worker never waits for the list view to draw.
    if (!run->hitsPosted_)
        run->hitsPosted_ = run->PostLocked(kMsgSearchTakeHits);
}

void SearchRun::OnProgress(void* context, const SearchProgress& progress) {
    auto* run = static_cast<SearchRun*>(context);
    std::lock_guard<std::mutex> guard(run->lock_);
    run->latest_ = progress;
    if (run->throttle_.ShouldPost(progress.kind) && !run->PostLocked(kMsgSearchTakeProgress))
        run->throttle_.Taken();
}

void SearchRun::OnDone(void* context) {
    auto* run = static_cast<SearchRun*>(context);
    std::lock_guard<std::mutex> guard(run->lock_);
    run->PostLocked(run->doneMessage_);
}

void SearchRun::Attach(HWND window) {
    std::lock_guard<std::mutex> guard(lock_);
    window_ = window;
}

void SearchRun::Restart() {
    std::lock_guard<std::mutex> guard(lock_);
    throttle_.Reset();
}

std::vector<std::unique_ptr<SearchHit>> SearchRun::TakeHits() {
    std::vector<std::unique_ptr<SearchHit>> hits;
    std::lock_guard<std::mutex> guard(lock_);
    hits.swap(pendingHits_);
    hitsPosted_ = false;
    return hits;
}

SearchProgress SearchRun::TakeProgress() {
    std::lock_guard<std::mutex> guard(lock_);
    throttle_.Taken();
    return latest_;
}

} // namespace keywright
