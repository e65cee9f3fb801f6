// filereadfloor: the least a search of a tree can cost. Walks the tree as a search does
// (the listing, then every file opened, read whole and closed by the file system seam
// the search uses) without converting, cleaning or searching anything, and prints the
// files, bytes and wall-clock seconds of each run and their median. Under Wine this is
// the floor to hold sorbexc's time per file against: what remains above it is ours.
//
// Two questions about a search on several threads have their floor here as well:
// `--walkers N` walks the tree on N threads, which take the folders from one queue (does
// listing on every core shorten the listing?); `--read-beside` lists only, while another
// thread of the process reads the files of an earlier listing (what does a search that
// goes on during the listing cost the listing?).
//
// Usage: filereadfloor DIR [runs=3] [--list-only] [--walkers N] [--read-beside]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FileSystem.h"

namespace {

struct Totals {
    long files = 0;
    long folders = 0;
    unsigned long long bytes = 0;
    long unread = 0;
};

// Lists `dir` and reads its files (unless `read` is false); its subfolders are walked
// by `below`, or at once when it is null.
void Walk(kestrix::FileSystem& fileSystem, const std::string& dir, bool read, std::string& buffer,
          Totals& totals, std::vector<std::string>* below = nullptr,
          std::vector<std::string>* paths = nullptr) {
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
        if (paths)
            paths->push_back(dir + name);
        if (!read)
            continue;
        if (fileSystem.ReadFile(dir + name, buffer))
            ++totals.unread;
        else
            totals.bytes += buffer.size();
    }
    for (const std::string& name : subfolders) {
        if (below)
            below->push_back(dir + name + kestrix::kPathSeparator);
        else
            Walk(fileSystem, dir + name + kestrix::kPathSeparator, read, buffer, totals, nullptr,
                 paths);
    }
}

// The tree walked by `walkers` threads, which take the folders from one queue.
Totals WalkOnThreads(kestrix::FileSystem& fileSystem, const std::string& root, bool read,
                     int walkers) {
    Totals totals;
    if (walkers <= 1) {
        std::string buffer;
        Walk(fileSystem, root, read, buffer, totals);
        return totals;
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> folders{root};
    int busy = 0;
    const auto work = [&] {
        Totals mine;
        std::string buffer;
        std::vector<std::string> below;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return !folders.empty() || busy == 0; });
            if (folders.empty())
                break;
            const std::string dir = std::move(folders.front());
            folders.pop_front();
            ++busy;
            lock.unlock();
            below.clear();
            Walk(fileSystem, dir, read, buffer, mine, &below);
            lock.lock();
            --busy;
            folders.insert(folders.end(), below.begin(), below.end());
            changed.notify_all();
        }
        totals.files += mine.files;
        totals.folders += mine.folders;
        totals.bytes += mine.bytes;
        totals.unread += mine.unread;
    };
    std::vector<std::thread> threads;
    for (int i = 1; i < walkers; ++i)
        threads.emplace_back(work);
    work();
    for (std::thread& thread : threads)
        thread.join();
    return totals;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: filereadfloor DIR [runs=3] [--list-only] [--walkers N] "
                             "[--read-beside]\n");
        return 2;
    }
    std::string dir = argv[1];
    if (dir.back() != kestrix::kPathSeparator)
        dir += kestrix::kPathSeparator;
    int runs = 3;
    bool read = true;
    int walkers = 1;
    bool readBeside = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--list-only") == 0)
            read = false;
        else if (std::strcmp(argv[i], "--read-beside") == 0)
            readBeside = true;
        else if (std::strcmp(argv[i], "--walkers") == 0 && i + 1 < argc)
            walkers = std::max(1, std::atoi(argv[++i]));
        else
            runs = std::max(1, std::atoi(argv[i]));
    }
    const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
    // What the thread beside the listing reads: the files of a listing made beforehand.
    std::vector<std::string> beside;
    if (readBeside) {
        read = false;
        Totals unused;
        std::string buffer;
        Walk(*fileSystem, dir, false, buffer, unused, nullptr, &beside);
    }
    std::vector<double> seconds;
    Totals totals;
    for (int run = 0; run < runs; ++run) {
        std::atomic<bool> listed{false};
        std::atomic<long> readBefore{0};
        std::thread reader;
        if (readBeside) {
            reader = std::thread([&] {
                std::string buffer;
                for (const std::string& path : beside) {
                    if (listed.load())
                        break;
                    fileSystem->ReadFile(path, buffer);
                    ++readBefore;
                }
            });
        }
        const auto start = std::chrono::steady_clock::now();
        totals = WalkOnThreads(*fileSystem, dir, read, walkers);
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        listed.store(true);
        if (reader.joinable())
            reader.join();
        std::printf("run %d: %ld files in %ld folders, %llu bytes%s, %d walker(s), %.3f s", run + 1,
                    totals.files, totals.folders, totals.bytes, read ? " read" : " (not read)",
                    walkers, seconds.back());
        if (readBeside)
            std::printf(", %ld files read beside the listing", readBefore.load());
        std::printf("\n");
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("median %.3f s, %.1f us per file (%ld not readable)\n", seconds[seconds.size() / 2],
                1e6 * seconds[seconds.size() / 2] / (totals.files > 0 ? totals.files : 1),
                totals.unread);
    return 0;
}
