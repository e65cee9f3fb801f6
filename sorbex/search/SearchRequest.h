// The parameter set of one search, and when two of them ask for the same search.
#pragma once

#include <string>

#include "engine/SearchExpression.h"
#include "text/TextEncoding.h"

namespace sorbex {

struct CSearchRequest {
    std::string expression; // empty: list the files instead of searching them
    std::string fileMask;   // masks separated by "|"
    std::string directory;  // directories separated by "|"
    bool withSubDirectories = true;
    bool matchCase = false;
    bool matchWholeWords = false;
    CSearchMethod searchMethod = CSearchMethod::Standard;
    bool useInternalFilter = true;
    bool useExternalFilter = true;
    CEncodingChoice encoding = CEncodingChoice::Auto; // how files' bytes are read as text
    bool replaceMode = false;
    std::string replaceString; // replace mode only
    int replaceTag = 0;        // 0 the whole expression, 1 to 5 that subexpression

    CExpressionOptions ExpressionOptions() const {
        return {searchMethod, matchWholeWords, matchCase};
    }

    // True when a page filled by `other` may be reused for this request. Texts compare
    // exactly; the replacement fields count only in replace mode.
    bool IsSameSearch(const CSearchRequest& other) const;

    // Whether the expression may hold a back-reference ("\1" to "\9" anywhere): the
    // library's matcher can then take minutes over a text of a few kilobytes, where
    // without one its time follows the text's length.
    bool MayHoldBackReference() const;
};

} // namespace sorbex
