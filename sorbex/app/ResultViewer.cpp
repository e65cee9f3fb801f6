// What shows a result's file to the main window, and how a result is shown: in the
// viewer, by selection in its page only, or with the registered application.
#include "app/ResultViewer.h"

#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr long kShellSuccessAbove = 32;
constexpr long kShellNoAssociation = 31;

} // namespace

bool CResultPageOnlyViewer::ShowResult(const CFileFindDoc& page, std::size_t index) {
    if (index >= page.results.size())
        return false;
    shown_ = page.results[index].dir + page.results[index].name;
    return true;
}

CShowAction ShowActionFor(const CSearchResult& result, bool replacePage, bool dontUseFileViewer) {
    if (replacePage && (result.flags & kResultReplaced) == 0)
        return CShowAction::StartReplacement;
    if ((result.flags & kResultDirectory) != 0 || dontUseFileViewer)
        return CShowAction::OpenInApplication;
    return CShowAction::ShowInViewer;
}

unsigned MessageForOpenResult(long shellResult) {
    if (shellResult > kShellSuccessAbove)
        return 0;
    return shellResult == kShellNoAssociation ? IDS_EXTENSION_NOT_REGISTERED : 0;
}

} // namespace sorbex
