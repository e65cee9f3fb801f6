// A registry search that its window and its worker thread share: the search itself,
// the hits and progress the worker queues for the window, and the messages it posts.
#pragma once

#include "platform/Clock.h"
#include "registry/RegistrySearch.h"
#include "registry/SearchStatus.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

namespace keywright {

// The system's registry, for every search and key operation of the add-in.
kestrix::Registry& SystemRegistry();

// Each of the window and the worker holds the run by std::shared_ptr, so a window
// closed during a search never pulls the search away from under its worker. The worker
// queues and posts one message per batch (kMsgSearchTakeHits, kMsgSearchTakeProgress),
// so it never waits for the window; the window takes everything queued by then. At
// its end the worker posts the run's done message.
class SearchRun {
public:
    // A search of the system's registry with the add-in's message box, whose worker
    // starts on a 32768-byte stack and posts `doneMessage` when it ends.
    static std::shared_ptr<SearchRun> Make(UINT doneMessage);

    explicit SearchRun(SearchEnvironment environment, UINT doneMessage);

    RegistrySearch search;

    // Window side. Messages go to `window` from now on; null stops them for good.
    void Attach(HWND window);
    // A new search: the next progress is posted whatever its kind.
    void Restart();
    std::vector<std::unique_ptr<SearchHit>> TakeHits();
    SearchProgress TakeProgress();

private:
    static void OnHit(void* context, std::unique_ptr<SearchHit> hit);
    static void OnProgress(void* context, const SearchProgress& progress);
    static void OnDone(void* context);
    // Posts to the window while it exists; with the lock held.
    bool PostLocked(UINT message) { return window_ && PostMessageW(window_, message, 0, 0); }

    const UINT doneMessage_;
    std::mutex lock_;
    HWND window_ = nullptr;
    std::vector<std::unique_ptr<SearchHit>> pendingHits_;
    bool hitsPosted_ = false;
    SearchProgress latest_;
    std::unique_ptr<kestrix::Clock> clock_;
    ProgressThrottle throttle_;
};

} // namespace keywright
