// The parameter set of one search, and when two of them ask for the same search.
#pragma once

#include <string>

namespace sorbex {

struct CSearchRequest {
    std::string expression; // empty: list the files instead of searching them
    std::string fileMask;   // masks separated by "|"
    std::string directory;  // directories separated by "|"
    int withSubDirectories = 1;
    int matchCase = 0;
    int matchWholeWords = 0;
    int searchMethod = 0; // 0 standard, 1 phonetic
    int useInternalFilter = 1;
    int useExternalFilter = 1;
    int replaceMode = 0;
    std::string replaceString; // replace mode only
    int replaceTag = 0;        // 0 the whole expression, 1 to 5 that subexpression

    // True when a page filled by `other` may be reused for this request. Texts compare
    // exactly; the replacement fields count only in replace mode.
    bool IsSameSearch(const CSearchRequest& other) const;
};

} // namespace sorbex
