// What a window needs to run a registry search on a worker thread: the search's scope
// from the editor's tree, and a search that the window and its worker share, which
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

// A registry search that its window and its worker share: whichever lets go last frees
// it, so a window closed during a search never pulls the search from under the worker.
// It searches the system's registry, shows its messages in the add-in's box, starts its
// worker on a 32768-byte stack and posts the done message to the window.
class SharedSearch {
public:
    static std::shared_ptr<SharedSearch> Make(HWND window, UINT hitsMessage, UINT progressMessage,
                                              UINT doneMessage);

    RegistrySearch search;
    SearchFeed feed;

private:
    SharedSearch(HWND window, UINT hitsMessage, UINT progressMessage);
};

} // namespace keywright
