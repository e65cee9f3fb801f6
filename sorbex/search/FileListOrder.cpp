// The order of the file list: directory by directory, subdirectories first, then by name.
#include "search/FileListOrder.h"

#include <algorithm>
#include <cstddef>

namespace sorbex {
namespace {

// The locale may call different spellings equal (case, and on some systems
// punctuation); the bytes then decide, so that one directory's entries never mix
// with another's.
int CompareWithTieBreak(kestrix::FileSystem& fileSystem, const std::string& a,
                        const std::string& b) {
    if (a == b)
        return 0;
    const int locale = fileSystem.CompareNames(a, b);
    if (locale != 0)
        return locale;
    return a.compare(b);
}

// Entries next to each other in the list that name one directory in the same bytes.
struct CRun {
    std::size_t begin;
    std::size_t end;
};

// Puts the entry at files[order[k]] in place k, moving each entry once.
void ApplyOrder(std::vector<CFileEntry>& files, std::vector<std::size_t>& order) {
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start)
            continue;
        CFileEntry held = std::move(files[start]);
        std::size_t at = start;
        while (true) {
            const std::size_t from = order[at];
            order[at] = at;
            if (from == start) {
                files[at] = std::move(held);
                break;
            }
            files[at] = std::move(files[from]);
            at = from;
        }
    }
}

} // namespace

void SortFileList(std::vector<CFileEntry>& files, kestrix::FileSystem& fileSystem) {
    // The order is that of one stable sort by directory, then directories first, then
    // name. A walk lists a directory's entries together, so the directories are sorted
    // a run of entries at a time and the names within each: far fewer comparisons of
    // long paths than sorting the entries whole, and nothing but indices is moved
    // until the entries take their places.
    std::vector<CRun> runs;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (runs.empty() || files[i].dir != files[runs.back().begin].dir)
            runs.push_back({i, i});
        runs.back().end = i + 1;
    }
    // Runs of one directory keep the order they had, as their entries would.
    std::stable_sort(runs.begin(), runs.end(), [&](const CRun& x, const CRun& y) {
        return CompareWithTieBreak(fileSystem, files[x.begin].dir, files[y.begin].dir) < 0;
    });
    const auto byTypeAndName = [&](std::size_t x, std::size_t y) {
        const CFileEntry& a = files[x];
        const CFileEntry& b = files[y];
        if (a.isDirectory != b.isDirectory)
            return a.isDirectory > b.isDirectory;
        return CompareWithTieBreak(fileSystem, a.name, b.name) < 0;
    };
    std::vector<std::size_t> order;
    order.reserve(files.size());
    for (std::size_t r = 0; r < runs.size();) {
        const std::size_t first = order.size();
        const std::string& dir = files[runs[r].begin].dir;
        // Every run of the same directory joins its entries before they are sorted.
        for (; r < runs.size() && files[runs[r].begin].dir == dir; ++r)
            for (std::size_t i = runs[r].begin; i < runs[r].end; ++i)
                order.push_back(i);
        std::stable_sort(order.begin() + static_cast<std::ptrdiff_t>(first), order.end(),
                         byTypeAndName);
    }
    ApplyOrder(files, order);
}

} // namespace sorbex
