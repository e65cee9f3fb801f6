// What a window needs to run a registry search on a worker thread: the search's scope
// from the editor's tree, the environment that starts the worker, and the feed that
// hands hits and progress over in batches, one posted message each.
#pragma once

#include "registry/RegistrySearch.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

namespace keywright {

// The system's registry, for every search and key operation of the add-in.
kestrix::Registry& SystemRegistry();

// Sets the search's computers, or its computer, root and start key, from the editor's
// tree: the whole tree for a whole-registry search, else the selected item. Without a
// selection the whole registry is searched.
void SetScopeFromTree(RegistrySearch& search, HWND tree);

// The registry, the root text and the message box of the add-in; workers start on a
// 32768-byte stack. `owner` is held (AddRef) for as long as a worker runs and let go
// (Release) at its end, so that the search outlives a window closed meanwhile. The
// done message is posted to `window`.
struct SearchOwner {
    virtual ~SearchOwner() = default;
    virtual void AddRef() = 0;
    virtual void Release() = 0;
};
SearchEnvironment MakeSearchEnvironment(SearchOwner* owner, HWND window);

// Hits and progress from the worker to the window. The worker queues and posts one
// message per batch, so it never waits for the window; the window takes everything
// queued when the message arrives.
class SearchFeed {
public:
    SearchFeed(HWND window, UINT hitsMessage, UINT progressMessage)
        : window_(window), hitsMessage_(hitsMessage), progressMessage_(progressMessage) {}

    // Worker side.
    void AddHit(std::unique_ptr<SearchHit> hit);
    // Progress comes with every key and value: it is posted a few times a second, and
    // always when its kind changes.
    void SetProgress(const SearchProgress& progress);

    // Window side.
    std::vector<std::unique_ptr<SearchHit>> TakeHits();
    SearchProgress TakeProgress();
    // A new search: the next progress is posted whatever its kind.
    void Restart();

private:
    HWND window_;
    UINT hitsMessage_, progressMessage_;
    std::mutex lock_;
    std::vector<std::unique_ptr<SearchHit>> hits_;
    bool hitsPosted_ = false;
    SearchProgress latest_;
    bool progressPosted_ = false;
    int postedKind_ = 0;
    DWORD postedAt_ = 0;
};

} // namespace keywright
