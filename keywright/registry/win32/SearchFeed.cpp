// The search's scope from the editor's tree, its worker threads, and the feed of hits
// and progress to a window.
#include "registry/win32/SearchFeed.h"

#include "host/KeyPath.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/EditorTreeView.h"
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
        char text[kItemText] = {};
        TVITEMA tv{};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return std::string(text);
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
    SearchOwner* owner;
};

DWORD WINAPI WorkerThread(void* parameter) {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    start->worker();
    start->owner->Release();
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

SearchEnvironment MakeSearchEnvironment(SearchOwner* owner, HWND window) {
    SearchEnvironment env;
    env.registry = &SystemRegistry();
    env.rootText = Addin().rootText;
    HWND frame = Addin().editor.frame;
    env.showMessage = [frame](const std::string& text) { ShowAddinMessage(frame, text); };
    env.sendDone = [window](void*, std::uint32_t message) {
        PostMessageA(window, message, 0, 0);
    };
    env.startThread = [owner](std::function<void()> worker) {
        auto* start = new WorkerStart{std::move(worker), owner};
        owner->AddRef();
        HANDLE thread = CreateThread(nullptr, kWorkerStack, &WorkerThread, start, 0, nullptr);
        if (!thread) {
            owner->Release();
            delete start;
            return false;
        }
        CloseHandle(thread);
        return true;
    };
    env.tickCount = [] { return static_cast<std::uint32_t>(GetTickCount()); };
    return env;
}

void SearchFeed::AddHit(std::unique_ptr<SearchHit> hit) {
    std::lock_guard<std::mutex> guard(lock_);
    hits_.push_back(std::move(hit));
    if (!hitsPosted_)
        hitsPosted_ = PostMessageA(window_, hitsMessage_, 0, 0) != FALSE;
}

void SearchFeed::SetProgress(const SearchProgress& progress) {
    std::lock_guard<std::mutex> guard(lock_);
    latest_ = progress;
    DWORD now = GetTickCount();
    if (progressPosted_ || (progress.kind == postedKind_ && now - postedAt_ < kProgressIntervalMs))
        return;
    postedKind_ = progress.kind;
    postedAt_ = now;
    progressPosted_ = PostMessageA(window_, progressMessage_, 0, 0) != FALSE;
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
