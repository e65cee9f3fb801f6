// Measures the registry search engine: keys and values visited per second and the
// time from the last hit to the end, on a generated in-memory tree and, on Windows,
// on the whole registry of this computer.
#include "registry/RegistrySearch.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"
#ifdef _WIN32
#include "platform/win32/Win32Registry.h"
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using namespace kestrix;
using namespace keywright;
using Clock = std::chrono::steady_clock;

struct Timing {
    Clock::time_point lastHit{};
    std::size_t hits = 0;
    std::size_t progressEvents = 0;
};

void OnHit(void* context, std::unique_ptr<SearchHit>) {
    auto* t = static_cast<Timing*>(context);
    t->lastHit = Clock::now();
    ++t->hits;
}

void OnProgress(void* context, const SearchProgress&) {
    ++static_cast<Timing*>(context)->progressEvents;
}

// `count` keys in a two-level tree, each with a string and a DWORD value; one key
// in a thousand carries the search term in its name.
void Generate(Registry& reg, int count) {
    ScopedRegKey base(reg), top(reg), leaf(reg);
    reg.CreateKey(kHkeyCurrentUser, "Software\\Bench", base.Receive());
    const int perTop = 1000;
    for (int i = 0; i < count; ++i) {
        if (i % perTop == 0)
            reg.CreateKey(base.get(), ("Group" + std::to_string(i / perTop)).c_str(),
                          top.Receive());
        std::string name =
            (i % 1000 == 999) ? "Needle" + std::to_string(i) : "Key" + std::to_string(i);
        reg.CreateKey(top.get(), name.c_str(), leaf.Receive());
        std::string text = "C:\\Program Files\\Something\\file" + std::to_string(i) + ".dll";
        reg.SetValue(leaf.get(), "Path", kRegSz, text.c_str(), std::uint32_t(text.size() + 1));
        std::uint32_t dword = std::uint32_t(i);
        reg.SetValue(leaf.get(), "Number", kRegDword, &dword, 4);
    }
}

void Run(const char* label, Registry& reg, const std::vector<std::string>& roots,
         const char* term) {
    SearchEnvironment env;
    env.registry = &reg;
    env.rootText = "BENCH";
    RegistrySearch search(env);
    Timing timing;
    search.callbackContext = &timing;
    search.hitCallback = &OnHit;
    search.progressCallback = &OnProgress;
    search.searchText = term;
    search.wholeRegistry = true;
    search.computers = {{"BENCH", roots}};
    Clock::time_point start = Clock::now();
    Start(search);
    search.Wait();
    Clock::time_point end = Clock::now();
    double seconds = std::chrono::duration<double>(end - start).count();
    double tail =
        timing.hits ? std::chrono::duration<double, std::milli>(end - timing.lastHit).count() : 0.0;
    const SearchCounters& c = search.counters;
    std::printf("%s: %u keys, %u values, %u data in %.3f s: %.0f keys/s, %.0f values/s; "
                "%zu hits, %zu progress events; last hit to done %.2f ms\n",
                label, c.keysVisited, c.valuesVisited, c.dataExamined, seconds,
                c.keysVisited / seconds, c.valuesVisited / seconds, timing.hits,
                timing.progressEvents, tail);
}

} // namespace

int main(int argc, char** argv) {
    int count = 100000;
    bool system = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--system") == 0)
            system = true;
        else
            count = std::atoi(argv[i]);
    }
    const std::vector<std::string> allRoots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                               "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                               "HKEY_CURRENT_CONFIG"};
    if (system) {
#ifdef _WIN32
        Win32Registry reg;
        Run("system registry", reg, allRoots, "kestrix-bench-no-such-text");
#else
        std::puts("the system registry exists on Windows only");
        return 1;
#endif
        return 0;
    }
    MemoryRegistry reg("BENCH");
    Generate(reg, count);
    Run("generated tree", reg, allRoots, "needle");
    return 0;
}
