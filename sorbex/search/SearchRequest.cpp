// The parameter set of one search, and when two of them ask for the same search.
#include "search/SearchRequest.h"

namespace sorbex {

bool CSearchRequest::IsSameSearch(const CSearchRequest& other) const {
    const bool same =
        expression == other.expression && fileMask == other.fileMask &&
        directory == other.directory && withSubDirectories == other.withSubDirectories &&
        matchCase == other.matchCase && matchWholeWords == other.matchWholeWords &&
        searchMethod == other.searchMethod && useInternalFilter == other.useInternalFilter &&
        useExternalFilter == other.useExternalFilter && encoding == other.encoding &&
        replaceMode == other.replaceMode;
    if (!same || !replaceMode)
        return same;
    return replaceString == other.replaceString && replaceTag == other.replaceTag;
}

bool CSearchRequest::MayHoldBackReference() const {
    // A backslash in a bracket list is an ordinary byte, and one may escape another:
    // both are read as a reference here, which only costs the run a thread's help.
    for (std::size_t i = 0; i + 1 < expression.size(); ++i)
        if (expression[i] == '\\' && expression[i + 1] >= '1' && expression[i + 1] <= '9')
            return true;
    return false;
}

} // namespace sorbex
