// When each command of the main window is enabled.
#include "app/CommandRules.h"

#include "app/ResultStepping.h"

namespace sorbex {
namespace {

bool CanStep(const CCommandContext& c, CStep step) {
    return c.results && StepTarget(*c.results, c.currentResult, step).has_value();
}

} // namespace

bool IsCommandEnabled(CCommand command, const CCommandContext& c) {
    // Whatever changes the document, its pages or the cache waits for the run to end:
    // the run writes into the current page and reads through the cache.
    const bool idle = !c.searching && !c.replacing;
    const bool pageCurrent =
        c.currentPage >= 0 && static_cast<std::size_t>(c.currentPage) < c.pageCount;
    switch (command) {
    case CCommand::StartSearching:
        return idle && c.definitionPageActive;
    case CCommand::CancelSearching:
        return c.searching;
    case CCommand::DeletePage:
        return idle && c.pageCount >= 2 && pageCurrent;
    case CCommand::RenamePage:
        return idle && pageCurrent;
    case CCommand::ShiftPageLeft:
        return idle && pageCurrent && c.currentPage > 0;
    case CCommand::ShiftPageRight:
        return idle && pageCurrent && static_cast<std::size_t>(c.currentPage) + 1 < c.pageCount;
    case CCommand::PreviousResult:
        return CanStep(c, CStep::PreviousResult);
    case CCommand::NextResult:
        return CanStep(c, CStep::NextResult);
    case CCommand::PreviousFile:
        return CanStep(c, CStep::PreviousFile);
    case CCommand::NextFile:
        return CanStep(c, CStep::NextFile);
    case CCommand::OpenInRegisteredApplication:
        return c.fileShown;
    case CCommand::FileReorganize:
        return idle && c.documentHasPath;
    case CCommand::CacheReorganize:
    case CCommand::CacheDelete:
        return idle && c.cacheOpen;
    case CCommand::FileNew:
    case CCommand::FileOpen:
    case CCommand::FileSave:
    case CCommand::FileSaveAs:
    case CCommand::Options:
        return idle;
    case CCommand::ToggleRegisteredApplications:
        return true;
    case CCommand::UndoReplacement:
        return idle && c.undoAvailable;
    }
    return false;
}

} // namespace sorbex
