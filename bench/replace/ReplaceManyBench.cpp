// replacemanybench: `sorbex replace ... --all` over one 240 KB file that holds 40,000
// passages, the case where writing the file once per passage made a replacement take
// minutes. Writes the file into a temporary folder, runs the command's own code (search,
// then the replacement walk) the given number of times on a fresh copy, checks the
// bytes written, and prints the median wall-clock and CPU time of a run.
//
// Usage: replacemanybench [runs=5] [passages=40000]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "cli/SearchCommand.h"
#include "platform/testing/TempTree.h"

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Six bytes a passage: "ab" and four others, lines of 60 bytes.
std::string Text(int passages, const char* word) {
    std::string text;
    for (int i = 0; i < passages; ++i) {
        text += word;
        text += (i % 10 == 9) ? "  \r\n" : " cd ";
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int passages = argc > 2 ? std::max(1, std::atoi(argv[2])) : 40000;
    const std::string before = Text(passages, "ab");
    const std::string after = Text(passages, "xy");

    kestrix::TempTree tree;
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int run = 0; run < runs; ++run) {
        tree.Write("q.txt", before);
        std::ostringstream out;
        std::ostringstream err;
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const int status = sorbex::RunCli(
            {"replace", "ab", "--with", "xy", "--all", "--threads", "1", "-d", tree.root()}, out,
            err, sorbex::CCliTerminal());
        const std::clock_t cpuEnd = std::clock();
        const auto end = std::chrono::steady_clock::now();
        if (status != 0 || tree.Read("q.txt") != after) {
            std::fprintf(stderr, "replacemanybench: the run failed (exit %d)\n%s", status,
                         err.str().c_str());
            return 1;
        }
        wall.push_back(std::chrono::duration<double>(end - start).count());
        cpu.push_back(static_cast<double>(cpuEnd - cpuStart) / CLOCKS_PER_SEC);
    }
    std::printf("replace --all, one file of %zu bytes with %d passages, %d runs\n",
                before.size(), passages, runs);
    std::printf("median wall clock: %.3f s\nmedian CPU time:   %.3f s\n", Median(wall),
                Median(cpu));
    return 0;
}
