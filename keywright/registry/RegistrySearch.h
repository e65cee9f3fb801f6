// The registry search: its parameters and counters, the hit and progress records it
// reports, and the worker that walks keys, value names and string data.
#pragma once

#include "host/LocationEncoding.h"
#include "platform/Registry.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace keywright {

enum SearchProgressKind : int {
    kSearchStarted = 1,
    kSearchRunning = 2,
    kSearchCompleted = 3,
    kSearchInterrupted = 4,
};

struct SearchCounters {
    std::uint32_t keysVisited = 0;
    std::uint32_t valuesVisited = 0;
    std::uint32_t dataExamined = 0;
    std::uint32_t keysFound = 0;
    std::uint32_t valuesFound = 0;
    std::uint32_t dataFound = 0;
};

struct SearchProgress {
    int kind = kSearchStarted;
    SearchCounters counters;
};

enum SearchHitFlags : std::uint32_t {
    kHitKeyName = 1,
    kHitValueName = 2,
    kHitData = 4,
};

struct UndoRecord;

struct SearchHit {
    std::uint32_t flags = 0;
    std::string keyPath;             // full key path; a root ends with a backslash
    std::string valueName;           // "(Default)" for the unnamed value; empty for a key hit
    std::vector<unsigned char> data; // data hits: the value's bytes as read
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::uint32_t matchOffset = 0; // byte offset of the matching string of a multi-string
    std::string searchText;
    std::string replacementText;
    UndoRecord* undo = nullptr; // kept by the replacement wizard
};

// A computer of the editor's tree with its root items, in tree order.
struct SearchComputer {
    std::string name;
    std::vector<std::string> roots;
};

// Called on the worker thread. The hit callback owns the hit it receives.
using SearchProgressCallback = void (*)(void* context, const SearchProgress& progress);
using SearchHitCallback = void (*)(void* context, std::unique_ptr<SearchHit> hit);

// What the search reaches the registry, the user and its owner through.
struct SearchEnvironment {
    kestrix::Registry* registry = nullptr;
    // The text of the editor's root item: the local computer.
    std::string rootText;
    // The add-in's message box; called on the worker thread too.
    ShowText showMessage;
    // Tells the owner that the worker has ended, after its last progress; absent,
    // nobody is told. Called on the worker thread with the callback context.
    std::function<void(void* context)> sendDone;
    // Runs the worker on a new thread; returns false when none could be started.
    // Absent, the search runs it on a thread of its own that it joins when destroyed.
    std::function<bool(std::function<void()> worker)> startThread;
    // Milliseconds since start-up: names the current-user marker.
    std::function<std::uint32_t()> tickCount;
};

struct RegistrySearch;
bool Start(RegistrySearch& search);

struct RegistrySearch {
    explicit RegistrySearch(SearchEnvironment environment);
    ~RegistrySearch(); // waits for a worker of its own
    RegistrySearch(const RegistrySearch&) = delete;
    RegistrySearch& operator=(const RegistrySearch&) = delete;

    SearchEnvironment environment;

    std::string comparisonText;
    std::string searchText; // as typed, at most 255 characters
    std::string replacementText;
    std::string startSubkey;
    std::string computerName;
    std::string rootName;
    kestrix::RegKey rootHandle = 0;

    bool wholeRegistry = false;
    bool matchCase = false;
    bool wholeString = false;
    bool searchKeys = true;
    bool searchValues = true;
    bool searchData = true;
    bool hkcr = true, hkcu = true, hklm = true, hku = true, hkcc = true, hkdd = true;
    bool suppressHkcu = true, suppressHkcr = true, suppressHkcc = true;
    bool currentUserOnly = false;

    // Auto-reset: the worker's check consumes it.
    std::atomic<bool> stopEvent{false};
    void* callbackContext = nullptr;

    // Written by the worker, read by the callbacks it calls.
    SearchCounters counters;

    std::vector<SearchComputer> computers;
    std::uint32_t markerNumber = 0;
    bool atHklm = false, atHku = false, markerWritten = false;

    SearchProgressCallback progressCallback = nullptr;
    SearchHitCallback hitCallback = nullptr;

    // Waits for a worker that this object started on its own thread.
    void Wait();

private:
    friend bool Start(RegistrySearch& search);
    std::thread ownWorker_;
};

// Starts the worker. An empty search text shows message 2148 and starts nothing.
// Returns whether the worker started.
bool Start(RegistrySearch& search);

// Asks the worker to stop before its next subkey.
void Stop(RegistrySearch& search);

// The worker's whole run, on the calling thread: what Start runs.
void RunRegistrySearch(RegistrySearch& search);

// Upper-cases a-z only, whatever the locale.
std::string UpperAscii(std::string text);

// The comparison: the candidate equals (whole string) or contains the comparison
// text; without match case the candidate is upper-cased first.
bool Match(bool wholeString, bool matchCase, std::string_view candidate,
           std::string_view comparisonText);

} // namespace keywright
