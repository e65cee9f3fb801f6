// Everything a search run asks of the user interface, in one interface.
#pragma once

#include <string>

#include "search/FileEntry.h"
#include "search/FileFindDoc.h"
#include "search/FileListUi.h"
#include "search/SearchResult.h"

namespace sorbex {

// What a page shows below its results when a run ends.
struct CSearchCounters {
    bool listing = false; // a file listing: `found` entries listed, `total` files seen
    int filesWithPassages = 0;
    int found = 0; // files (and directories) that matched the mask
    int total = 0; // every file the walk met
    int passages = 0;
    int skipped = 0; // files and directories reported as not searched
};

// The windowed program answers with its windows, the command line with its streams.
// The prompts, error boxes, status text, history and cancellation of building the
// file list come from CFileListUi; ProcessMessages is the run's message pump, and
// CancelRequested tells whether the user asked to cancel (Esc, Ctrl+C) while it pumped.
class CSearchUi : public CFileListUi {
public:
    // The pump met the application's quit message; it has posted it again for the
    // main loop, and the run ends as cancelled.
    virtual bool QuitReceived() = 0;

    // Enables and disables the commands after `searching` or `replacing` changed.
    virtual void UpdateCommandStates() = 0;
    virtual void FocusActiveView() = 0;
    // Folds the search and replace pages away to make room for the results, and back.
    virtual void FoldPropertyBar() = 0;
    virtual void UnfoldPropertyBar() = 0;

    // Gives a new page its window; false when none can be made (the run ends quietly).
    virtual bool OpenPage(CFileFindDoc& page) = 0;
    virtual void ActivatePage(CFileFindDoc& page) = 0;
    // The page's results were removed; its view empties too.
    virtual void ClearPage(CFileFindDoc& page) = 0;
    // Writes the result just added to the page, with the file it came from; sets the
    // result's viewPosition.
    virtual void AppendResult(CFileFindDoc& page, CSearchResult& result,
                              const CFileEntry& file) = 0;
    virtual void AppendClosingLine(CFileFindDoc& page, const std::string& text) = 0;
    virtual void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) = 0;
    // Shows what was appended since the last refresh; `resultsShown` tells how many
    // results the view held then, for views that refresh large pages differently.
    virtual void RefreshResults(CFileFindDoc& page, int resultsShown) = 0;

    virtual void ShowProgress(int range) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void HideProgress() = 0;

    virtual void Beep() = 0;

    // A converter was given up on the file at `path` (a crash, no answer, too much
    // output), which was then searched as its bytes; `message` says which and why.
    virtual void ReportConverterFailure(const std::string& path, const std::string& message) {
        static_cast<void>(path);
        static_cast<void>(message);
    }
};

} // namespace sorbex
