// What the definition pages hold between their controls and the profile, and the request
// a run takes from them.
#pragma once

#include <cstddef>
#include <string>

#include "app/AppSettings.h"
#include "app/History.h"
#include "search/SearchRequest.h"

namespace sorbex {

// The values of the "Search" page's controls.
struct CSearchPageValues {
    std::string expression;
    std::string fileMask;
    std::string directory;
    int searchMethod = 0;
    int matchWholeWords = 0;
    int matchCase = 0;
    int withSubDirectories = 1;
};

// The values of the "Replace" page's controls.
struct CReplacePageValues {
    std::string replaceString;
    int replaceTag = 0;
};

// The method list and the list of what a replacement replaces, in their index order.
constexpr std::size_t kMethodCount = 2;
std::string MethodCaption(std::size_t index);
constexpr std::size_t kReplaceTagCount = 6;
const char* ReplaceTagCaption(std::size_t index);

// The request of a run: the search page's values with the profile's two filter flags,
// and in replace mode the replace page's values.
CSearchRequest MakeSearchRequest(const CSearchPageValues& search, const CReplacePageValues* replace,
                                 CAppSettings& settings);

// The histories and options of the pages: read from the profile when the pages are
// created, written back when they are destroyed.
class CDefinitionState {
public:
    void Load(CAppSettings& settings);
    void Save(CAppSettings& settings) const;

    CHistoryList& History(CHistoryKind kind) { return histories_[static_cast<std::size_t>(kind)]; }
    const CHistoryList& History(CHistoryKind kind) const {
        return histories_[static_cast<std::size_t>(kind)];
    }

    CSearchOptionValues options;

private:
    CHistoryList histories_[4];
};

} // namespace sorbex
