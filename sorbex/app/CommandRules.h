// When each command of the main window is enabled.
#pragma once

#include <cstddef>

#include "search/SearchResultArray.h"

namespace sorbex {

enum class CCommand {
    StartSearching,
    CancelSearching,
    DeletePage,
    RenamePage,
    ShiftPageLeft,
    ShiftPageRight,
    PreviousResult,
    NextResult,
    PreviousFile,
    NextFile,
    OpenInRegisteredApplication,
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileReorganize,
    CacheReorganize,
    CacheDelete,
    Options,
    ToggleRegisteredApplications,
    UndoReplacement,
};

// What the rules look at.
struct CCommandContext {
    bool searching = false;
    bool replacing = false;
    // The search or the replace page is the active definition page.
    bool definitionPageActive = false;
    std::size_t pageCount = 0;
    int currentPage = -1;                        // -1: none
    const CSearchResultArray* results = nullptr; // the current page's
    int currentResult = -1;
    // A file is shown: in the viewer, or opened in its application by the last step.
    bool fileShown = false;
    bool cacheOpen = false;
    bool documentHasPath = false;
    // The undo journal holds a walk (looked up when a menu opens, not on every update).
    bool undoAvailable = false;
};

bool IsCommandEnabled(CCommand command, const CCommandContext& context);

} // namespace sorbex
