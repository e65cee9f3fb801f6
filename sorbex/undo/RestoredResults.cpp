// The results of a page whose files an undo put back: not replaced again, at their old offsets.
#include "undo/RestoredResults.h"

#include <cstdint>
#include <memory>

#include "search/NameCase.h"
#include "search/PassageEdit.h"
#include "text/FileTextLoader.h"

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

std::size_t MarkRestoredResults(CSearchResultArray& page,
                                const std::vector<std::string>& restoredPaths,
                                const std::function<bool(const CSearchResult&)>& holdsPassage) {
    // Marked on a copy first; each file's results are taken over only when they check.
    CSearchResultArray copy;
    for (std::size_t i = 0; i < page.size(); ++i)
        copy.Add(std::make_unique<CSearchResult>(page[i]));
    if (MarkRestoredResults(copy, restoredPaths) == 0)
        return 0;
    std::size_t marked = 0;
    for (std::size_t first = 0; first < page.size();) {
        const std::string path = page[first].dir + page[first].name;
        std::size_t last = first + 1;
        while (last < page.size() && SamePath(page[last].dir + page[last].name, path))
            ++last;
        bool holds = true;
        std::size_t fileMarked = 0;
        for (std::size_t i = first; i < last && holds; ++i) {
            if ((page[i].flags & kResultReplaced) == 0 || (copy[i].flags & kResultReplaced) != 0)
                continue;
            holds = holdsPassage(copy[i]);
            ++fileMarked;
        }
        if (holds && fileMarked > 0) {
            for (std::size_t i = first; i < last; ++i)
                page[i] = copy[i];
            marked += fileMarked;
        }
        first = last;
    }
    return marked;
}

bool CRestoredFiles::HoldsPassage(const CSearchResult& result, CEncodingChoice choice) {
    const std::string path = result.dir + result.name;
    auto at = texts_.find({path, choice});
    if (at == texts_.end()) {
        std::optional<std::string> text;
        std::string bytes;
        if (!fs_.ReadFile(path, bytes)) {
            // Offsets count in the text the search read, as the walk counted them.
            const CDetectedEncoding detected = DetectEncoding(bytes, choice, IsHtmlName(result.name));
            if (detected.encoding == CTextEncoding::Ansi) {
                text = std::move(bytes);
            } else {
                text.emplace();
                DecodeText(bytes, detected, *text);
            }
        }
        at = texts_.emplace(std::make_pair(path, choice), std::move(text)).first;
    }
    return at->second && FileStillHoldsPassage(*at->second, result);
}

} // namespace sorbex
