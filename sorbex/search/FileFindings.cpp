// What the search of one file found, made into results before the run records them.
#include "search/FileFindings.h"

#include "engine/SearchExpression.h"

namespace sorbex {

void AddFileResults(CPassageList& list, const std::string& text, int subexpression,
                    int originFlags, bool replaceMode, const CFileEntry& file,
                    CFileFindings& findings) {
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

} // namespace sorbex
