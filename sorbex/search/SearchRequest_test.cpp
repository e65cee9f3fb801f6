// Tests of the search request: when a new search may reuse the page an earlier one
// filled, and which expressions may keep the library busy on a short text.
#include "search/SearchRequest.h"

#include <gtest/gtest.h>

#include <functional>

namespace sorbex {
namespace {

TEST(SearchRequestTest, SameSearchComparesEveryFieldAndReplaceFieldsOnlyInReplaceMode) {
    struct Case {
        const char* what;
        std::function<void(CSearchRequest&)> change;
        bool sameInSearchMode;
        bool sameInReplaceMode;
    };
    const Case cases[] = {
        {"nothing", [](CSearchRequest&) {}, true, true},
        {"expression", [](CSearchRequest& r) { r.expression = "other"; }, false, false},
        {"expression case", [](CSearchRequest& r) { r.expression = "COLOUR"; }, false, false},
        {"mask", [](CSearchRequest& r) { r.fileMask = "*.TXT"; }, false, false},
        {"directory", [](CSearchRequest& r) { r.directory = "C:\\Docs"; }, false, false},
        {"subdirectories", [](CSearchRequest& r) { r.withSubDirectories = false; }, false, false},
        {"case", [](CSearchRequest& r) { r.matchCase = true; }, false, false},
        {"words", [](CSearchRequest& r) { r.matchWholeWords = true; }, false, false},
        {"method", [](CSearchRequest& r) { r.searchMethod = CSearchMethod::Phonetic; }, false, false},
        {"internal filter", [](CSearchRequest& r) { r.useInternalFilter = false; }, false, false},
        {"external filter", [](CSearchRequest& r) { r.useExternalFilter = false; }, false, false},
        {"replacement", [](CSearchRequest& r) { r.replaceString = "grey"; }, true, false},
        {"tag", [](CSearchRequest& r) { r.replaceTag = 1; }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int replaceMode : {0, 1}) {
            CSearchRequest before;
            before.expression = "colour";
            before.fileMask = "*.txt";
            before.directory = "C:\\docs";
            before.replaceMode = replaceMode;
            before.replaceString = "color";
            CSearchRequest after = before;
            c.change(after);
            EXPECT_EQ(replaceMode ? c.sameInReplaceMode : c.sameInSearchMode,
                      after.IsSameSearch(before))
                << "replace mode " << replaceMode;
        }
    }
}

TEST(SearchRequestTest, ReplaceModeItselfMustMatch) {
    CSearchRequest search;
    CSearchRequest replace;
    replace.replaceMode = true;
    EXPECT_FALSE(search.IsSameSearch(replace));
    EXPECT_FALSE(replace.IsSameSearch(search));
}

TEST(SearchRequestTest, BackReferencesAreFoundWhereverTheyMayBe) {
    const struct {
        const char* expression;
        bool mayHold;
    } cases[] = {
        {"(a*)*\\1c", true},
        {"grey&(x)\\9", true},
        {"[\\1]", true}, // a bracket list's backslash, read as a reference all the same
        {"colour", false},
        {"\\0\\.\\b", false},
        {"ends in a backslash\\", false},
        {"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        CSearchRequest request;
        request.expression = c.expression;
        EXPECT_EQ(c.mayHold, request.MayHoldBackReference());
    }
}

} // namespace
} // namespace sorbex
