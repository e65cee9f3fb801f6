// The results of a page whose files an undo put back: not replaced again, at their old offsets.
#include "undo/RestoredResults.h"

#include <cstdint>

#include "search/NameCase.h"

namespace sorbex {
namespace {

// The excerpt keeps at most this much of a passage; a passage that fills it may be longer.
constexpr std::int32_t kExcerptPassageLimit = 510;

bool SamePath(const std::string& a, const std::string& b) {
#ifdef _WIN32
    return SameNameIgnoringCase(a, b);
#else
    return a == b;
#endif
}

} // namespace

bool IsRestoredFile(const std::string& path, const std::vector<std::string>& restoredPaths) {
    for (const std::string& restored : restoredPaths) {
        if (SamePath(path, restored))
            return true;
    }
    return false;
}

std::size_t MarkRestoredResults(CSearchResultArray& page,
                                const std::vector<std::string>& restoredPaths) {
    std::size_t marked = 0;
    std::string file;       // the file whose results are being walked
    bool restored = false;  // that file was put back
    bool known = true;      // the shift so far is known
    std::int32_t shift = 0; // what the file's replacements before this result added
    for (std::size_t i = 0; i < page.size(); ++i) {
        CSearchResult& result = page[i];
        const std::string path = result.dir + result.name;
        if (i == 0 || !SamePath(path, file)) {
            file = path;
            restored = IsRestoredFile(path, restoredPaths);
            known = true;
            shift = 0;
        }
        if (!restored || !known)
            continue;
        result.start -= shift;
        result.end -= shift;
        if ((result.flags & kResultReplaced) == 0)
            continue;
        const std::int32_t oldLength = result.excerptEnd - result.excerptStart;
        if (oldLength < 0 || oldLength >= kExcerptPassageLimit) {
            known = false;
            continue;
        }
        shift += (result.end - result.start) - oldLength;
        result.end = result.start + oldLength;
        result.flags &= ~kResultReplaced;
        ++marked;
    }
    return marked;
}

} // namespace sorbex
