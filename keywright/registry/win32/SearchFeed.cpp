// The search's scope from the editor's tree, the search that a window and its worker
// share, and the feed of hits and progress to the window.
#include "registry/win32/SearchFeed.h"

#include "host/KeyPath.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/EditorTreeView.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/Win32Registry.h"

#include <commctrl.h>

#include <string>

namespace keywright {

namespace {

constexpr SIZE_T kWorkerStack = 32768;
constexpr DWORD kProgressIntervalMs = 100;
constexpr int kItemText = 512;

// The tree's computers and their roots; with `only`, that one computer item.
std::vector<SearchComputer> ComputersFromTree(HWND tree, HTREEITEM only) {
    std::vector<SearchComputer> computers;
    auto textOf = [tree](HTREEITEM item) {
        wchar_t text[kItemText] = {};
        TVITEMW tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = kItemText;
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
        return kestrix::AnsiFromWide(text);
    };
    HTREEITEM computer = only ? only : TreeView_GetRoot(tree);
    for (; computer; computer = only ? nullptr : TreeView_GetNextSibling(tree, computer)) {
        SearchComputer entry{textOf(computer), {}};
        for (HTREEITEM root = TreeView_GetChild(tree, computer); root;
             root = TreeView_GetNextSibling(tree, root))
            entry.roots.push_back(textOf(root));
        computers.push_back(std::move(entry));
    }
    return computers;
}

struct WorkerStart {
    std::function<void()> worker;
    std::shared_ptr<SharedSearch> keep; // let go when the worker ends
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    start->worker();
    return 0;
}

} // namespace

kestrix::Registry& SystemRegistry() {
    static kestrix::Win32Registry registry;
    return registry;
}

void SetScopeFromTree(RegistrySearch& s, HWND tree) {
    s.computers.clear();
    s.computerName.clear();
    s.rootName.clear();
    s.startSubkey.clear();
    s.rootHandle = 0;
    if (!s.wholeRegistry) {
        std::optional<std::string> path = tree ? CurrentKeyPath(tree) : std::nullopt;
        if (!path) {
            s.wholeRegistry = true;
        } else {
            KeyPathParts parts = SplitKeyPath(*path);
            s.computerName = parts.computer;
            s.rootName = parts.rootName;
            s.rootHandle = parts.root;
            s.startSubkey = parts.subkey;
            if (parts.rootName.empty())
                s.computers = ComputersFromTree(tree, TreeView_GetSelection(tree));
        }
    }
    if (s.wholeRegistry && tree)
        s.computers = ComputersFromTree(tree, nullptr);
}

SharedSearch::SharedSearch(HWND window, UINT hitsMessage, UINT progressMessage)
    : search(SearchEnvironment{}), feed(window, hitsMessage, progressMessage) {
    SearchEnvironment& env = search.environment;
    env.registry = &SystemRegistry();
    env.rootText = Addin().rootText;
    HWND frame = Addin().editor.frame;
    env.showMessage = [frame](const std::string& text) { ShowAddinMessage(frame, text); };
    env.sendDone = [window](void*, std::uint32_t message) {
        PostMessageW(window, message, 0, 0);
    };
    env.tickCount = [] { return static_cast<std::uint32_t>(GetTickCount()); };
    search.callbackContext = &feed;
    search.hitCallback = [](void* context, std::unique_ptr<SearchHit> hit) {
        static_cast<SearchFeed*>(context)->AddHit(std::move(hit));
    };
    search.progressCallback = [](void* context, const SearchProgress& progress) {
        static_cast<SearchFeed*>(context)->SetProgress(progress);
    };
}

std::shared_ptr<SharedSearch> SharedSearch::Make(HWND window, UINT hitsMessage,
                                                 UINT progressMessage, UINT doneMessage) {
    std::shared_ptr<SharedSearch> shared(new SharedSearch(window, hitsMessage, progressMessage));
    shared->search.doneMessage = doneMessage;
    // The worker holds the search while it runs; the search itself only a weak handle,
    // or it would never be freed.
    std::weak_ptr<SharedSearch> weak = shared;
    shared->search.environment.startThread = [weak](std::function<void()> worker) {
        auto start = std::make_unique<WorkerStart>(WorkerStart{std::move(worker), weak.lock()});
        if (!start->keep)
            return false;
        HANDLE thread = CreateThread(nullptr, kWorkerStack, &WorkerThread, start.get(), 0, nullptr);
        if (!thread)
            return false;
        start.release(); // the thread's now
        CloseHandle(thread);
        return true;
    };
    return shared;
}

void SearchFeed::AddHit(std::unique_ptr<SearchHit> hit) {
    std::lock_guard<std::mutex> guard(lock_);
    hits_.push_back(std::move(hit));
    if (!hitsPosted_)
        hitsPosted_ = PostMessageW(window_, hitsMessage_, 0, 0) != FALSE;
}

void SearchFeed::SetProgress(const SearchProgress& progress) {
    std::lock_guard<std::mutex> guard(lock_);
    latest_ = progress;
    DWORD now = GetTickCount();
    if (progressPosted_ || (progress.kind == postedKind_ && now - postedAt_ < kProgressIntervalMs))
        return;
    postedKind_ = progress.kind;
    postedAt_ = now;
    progressPosted_ = PostMessageW(window_, progressMessage_, 0, 0) != FALSE;
}

std::vector<std::unique_ptr<SearchHit>> SearchFeed::TakeHits() {
    std::vector<std::unique_ptr<SearchHit>> hits;
    std::lock_guard<std::mutex> guard(lock_);
    hits.swap(hits_);
    hitsPosted_ = false;
    return hits;
}

SearchProgress SearchFeed::TakeProgress() {
    std::lock_guard<std::mutex> guard(lock_);
    progressPosted_ = false;
    return latest_;
}

void SearchFeed::Restart() {
    std::lock_guard<std::mutex> guard(lock_);
    postedKind_ = 0;
}

} // namespace keywright
