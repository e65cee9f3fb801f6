// What the definition pages hold between their controls and the profile, and the request
// a run takes from them.
#include "app/DefinitionPages.h"

#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr const char* kReplaceTagCaptions[kReplaceTagCount] = {
    "Entire Search Expression", "1. Subexpression", "2. Subexpression",
    "3. Subexpression",         "4. Subexpression", "5. Subexpression",
};

constexpr CHistoryKind kHistoryKinds[] = {CHistoryKind::SearchExpression, CHistoryKind::FileName,
                                          CHistoryKind::Directory, CHistoryKind::ReplaceString};

} // namespace

std::string MethodCaption(std::size_t index) {
    return SorbexString(index == 0 ? IDS_METHOD_STANDARD : IDS_METHOD_PHONETIC);
}

const char* ReplaceTagCaption(std::size_t index) {
    return index < kReplaceTagCount ? kReplaceTagCaptions[index] : "";
}

CSearchRequest MakeSearchRequest(const CSearchPageValues& search, const CReplacePageValues* replace,
                                 CAppSettings& settings) {
    CSearchRequest request;
    request.expression = search.expression;
    request.fileMask = search.fileMask;
    request.directory = search.directory;
    request.withSubDirectories = search.withSubDirectories;
    request.matchCase = search.matchCase;
    request.matchWholeWords = search.matchWholeWords;
    request.searchMethod =
        search.searchMethod == 1 ? CSearchMethod::Phonetic : CSearchMethod::Standard;
    request.useInternalFilter = settings.UseInternalFilter();
    request.useExternalFilter = settings.UseExternalFilter();
    request.encoding = settings.Encoding();
    if (replace) {
        request.replaceMode = true;
        request.replaceString = replace->replaceString;
        request.replaceTag = replace->replaceTag;
    }
    return request;
}

void CDefinitionState::Load(CAppSettings& settings) {
    for (CHistoryKind kind : kHistoryKinds)
        History(kind) = CHistoryList(settings.History(kind));
    options = settings.SearchOptions();
}

void CDefinitionState::Save(CAppSettings& settings) const {
    for (CHistoryKind kind : kHistoryKinds)
        settings.SetHistory(kind, History(kind).entries());
    settings.SetSearchOptions(options);
}

} // namespace sorbex
