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

} // namespace sorbex
