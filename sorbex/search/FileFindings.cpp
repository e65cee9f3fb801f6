// What the search of one file found, made into results before the run records them.
#include "search/FileFindings.h"

#include <algorithm>
#include <cstdint>

#include "engine/SearchExpression.h"

namespace sorbex {
namespace {

// The excerpt's share of the file's characters outside the code page, their offsets
// counted in the excerpt.
void KeepOutsideCharacters(CSearchResult& result, int passageStart,
                           const std::vector<COutsideCharacter>& outside) {
    if (outside.empty())
        return;
    const auto from = static_cast<std::uint32_t>(passageStart - result.excerptStart);
    const auto to = from + static_cast<std::uint32_t>(result.excerpt.size());
    auto it = std::lower_bound(outside.begin(), outside.end(), from,
                               [](const COutsideCharacter& entry, std::uint32_t offset) {
                                   return entry.offset < offset;
                               });
    for (; it != outside.end() && it->offset < to; ++it)
        result.excerptOutside.push_back({it->offset - from, it->character});
}

} // namespace

void AddFileResults(CPassageList& list, const std::string& text, int subexpression,
                    int originFlags, bool replaceMode, const CFileEntry& file,
                    CFileFindings& findings, const std::vector<COutsideCharacter>* outside) {
    switch (InterpretRootList(list, subexpression)) {
    case ExprOutcome::NoMatch:
        break;
    case ExprOutcome::FileLevelMatch: {
        if (replaceMode)
            break;
        auto result = std::make_unique<CSearchResult>();
        result->dir = file.dir;
        result->name = file.name;
        result->passageCount = 1;
        result->flags = kResultFirstOfFile;
        findings.results.push_back(std::move(result));
        findings.passages = 1;
        break;
    }
    case ExprOutcome::MatchWithPassages: {
        const int count = static_cast<int>(list.passages.size());
        findings.results.reserve(list.passages.size());
        bool first = true;
        for (const CPassage& passage : list.passages) {
            auto result = std::make_unique<CSearchResult>(text.c_str(), text.size(), passage.start,
                                                          passage.end, file.dir, file.name);
            result->passageCount = count;
            if (outside)
                KeepOutsideCharacters(*result, passage.start, *outside);
            result->flags = (first ? kResultFirstOfFile : 0) |
                            (originFlags & (kTextConverted | kTextExternal));
            first = false;
            findings.results.push_back(std::move(result));
        }
        findings.passages = count;
        break;
    }
    }
}

void KeepFileStatus(CFileFindings& findings, const CFileEntry& file,
                    const kestrix::FileStatus* status) {
    findings.status = file;
    if (status) {
        findings.status.size = status->size;
        findings.status.modified = kestrix::SecondsSince1970(status->lastWriteTime);
    }
    findings.status.statusKnown = true;
    findings.statusLooked = true;
}

} // namespace sorbex
