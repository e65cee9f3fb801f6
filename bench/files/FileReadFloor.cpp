// filereadfloor: the least a search of a tree can cost. Walks the tree as a search does
// (the listing, then every file opened, read whole and closed by the file system seam
// the search uses) without converting, cleaning or searching anything, and prints the
// files, bytes and wall-clock seconds of each run and their median. Under Wine this is
// the floor to hold sorbexc's time per file against: what remains above it is ours.
//
// Usage: filereadfloor DIR [runs=3] [--list-only]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace {

struct Totals {
    long files = 0;
    long folders = 0;
    unsigned long long bytes = 0;
    long unread = 0;
};

void Walk(kestrix::FileSystem& fileSystem, const std::string& dir, bool read, std::string& buffer,
          Totals& totals) {
    std::vector<std::string> subfolders;
    std::vector<std::string> files;
    fileSystem.ListDirectory(dir, kestrix::EntryDetail::TypesOnly,
                             [&](const kestrix::DirEntry& entry) {
                                 if (!entry.isDirectory)
                                     files.push_back(entry.name);
                                 else if (!entry.isLink)
                                     subfolders.push_back(entry.name);
                                 return true;
                             });
    ++totals.folders;
    for (const std::string& name : files) {
        ++totals.files;
        if (!read)
            continue;
        if (fileSystem.ReadFile(dir + name, buffer))
            ++totals.unread;
        else
            totals.bytes += buffer.size();
    }
    for (const std::string& name : subfolders)
        Walk(fileSystem, dir + name + kestrix::kPathSeparator, read, buffer, totals);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: filereadfloor DIR [runs=3] [--list-only]\n");
        return 2;
    }
    std::string dir = argv[1];
    if (dir.back() != kestrix::kPathSeparator)
        dir += kestrix::kPathSeparator;
    const int runs = argc > 2 && argv[2][0] != '-' ? std::max(1, std::atoi(argv[2])) : 3;
    const bool read = !(argc > 2 && std::strcmp(argv[argc - 1], "--list-only") == 0);
    const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
    std::vector<double> seconds;
    Totals totals;
    for (int run = 0; run < runs; ++run) {
        totals = Totals();
        std::string buffer;
        const auto start = std::chrono::steady_clock::now();
        Walk(*fileSystem, dir, read, buffer, totals);
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::printf("run %d: %ld files in %ld folders, %llu bytes%s, %.3f s\n", run + 1,
                    totals.files, totals.folders, totals.bytes, read ? " read" : " (not read)",
                    seconds.back());
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("median %.3f s, %.1f us per file (%ld not readable)\n", seconds[seconds.size() / 2],
                1e6 * seconds[seconds.size() / 2] / (totals.files > 0 ? totals.files : 1),
                totals.unread);
    return 0;
}
