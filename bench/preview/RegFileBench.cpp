// Measures the registry-file reader: a generated export of about 20 MB (200,000
// values) in each format, parsed with and without progress reports, and the walk the
// preview and `kwreg show` make over every key.
#include "GeneratedExport.h"
#include "preview/PreviewRows.h"
#include "preview/RE4Reader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace keywright;
using Clock = std::chrono::steady_clock;

void CountReport(std::uint32_t, std::uint32_t, void* context) {
    ++*static_cast<std::size_t*>(context);
}

struct Result {
    double seconds = 0; // the processor time the parse took: on a busy machine the
                        // wall-clock time says more about the neighbours
    double wall = 0;
    std::size_t keys = 0;
    std::size_t values = 0;
    std::size_t reports = 0;
};

Result Parse(const std::string& path, bool progress) {
    Result result;
    const auto start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize,
                      progress ? CountReport : nullptr, 0, &result.reports, nullptr, nullptr, 0);
    auto tree = reader.ParseFile(path.c_str());
    const bool parsed = tree != nullptr;
    if (parsed) {
        result.keys = tree->KeyCount();
        result.values = tree->ValueCount();
    }
    tree.reset(); // taking the tree apart belongs to the cost of a file
    result.seconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    result.wall = std::chrono::duration<double>(Clock::now() - start).count();
    if (!parsed) {
        std::fprintf(stderr, "kwregbench: %s is invalid at line %u\n", path.c_str(), reader.Line());
        std::exit(1);
    }
    return result;
}

double Walk(const std::string& path) {
    CRE4Reader reader(kRE4BufferSize, kRE4BufferSize, kRE4BufferSize, nullptr, 0, nullptr, nullptr,
                      nullptr, 0);
    const auto tree = reader.ParseFile(path.c_str());
    const std::clock_t start = std::clock();
    ValueListReader values;
    std::size_t rows = 0;
    std::vector<const CRE4Key*> pending{tree->Root()};
    while (!pending.empty()) {
        const CRE4Key* key = pending.back();
        pending.pop_back();
        rows += values.Rows(*tree, key).size();
        for (const PreviewChild& child : ChildrenOf(*tree, key))
            pending.push_back(child.key);
    }
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    if (rows == 0)
        std::exit(1);
    return seconds;
}

// The fastest of `runs` parses.
Result Best(int runs, const std::string& path, bool progress) {
    Result best;
    best.seconds = 1e9;
    for (int i = 0; i < runs; ++i) {
        const Result result = Parse(path, progress);
        if (result.seconds < best.seconds)
            best = result;
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    const std::size_t megabytes = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20;
    std::size_t values = 0;
    const std::string text = bench::GenerateExport(megabytes << 20, &values);
    const std::string v4 = dir + "/kwregbench-regedit4.reg";
    const std::string v5 = dir + "/kwregbench-version5.reg";
    std::ofstream(v4, std::ios::binary) << text;
    std::ofstream(v5, std::ios::binary) << bench::Version5(text);

    std::printf("Processor seconds, best of three (wall-clock seconds of that run).\n");
    std::printf("%-32s %6s %7s %8s %8s %8s %7s\n", "file", "MB", "keys", "values", "cpu s",
                "wall s", "MB/s");
    for (const std::string& path : {v4, v5}) {
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        const double mb = static_cast<double>(file.tellg()) / (1 << 20);
        const Result plain = Best(3, path, false);
        const Result reported = Best(3, path, true);
        const std::string name = path.substr(path.rfind('/') + 1);
        std::printf("%-32s %6.1f %7zu %8zu %8.3f %8.3f %7.1f\n", name.c_str(), mb, plain.keys,
                    plain.values, plain.seconds, plain.wall, mb / plain.seconds);
        std::printf("%-32s %6s %7s %8s %8.3f %8.3f  %zu reports\n", "  with progress at step 0", "",
                    "", "", reported.seconds, reported.wall, reported.reports);
        std::printf("%-32s %6s %7s %8s %8.3f\n", "  every key's rows and children", "", "", "",
                    Walk(path));
    }
    std::remove(v4.c_str());
    std::remove(v5.c_str());
    return 0;
}
