// The result pages of the main window: the document's pages, the page shown, the walk
// through its results, and what the search run and the replacement do to them.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/CommandRules.h"
#include "app/ResultViewer.h"
#include "app/ResultPageView.h"
#include "app/ResultStepping.h"
#include "platform/FileSystem.h"
#include "search/FileEntry.h"
#include "search/SearchUi.h"
#include "resultfile/TabDoc.h"

namespace sorbex {

// What showing a result may ask of the window around the pages.
class CResultActions {
public:
    virtual ~CResultActions() = default;
    // The shell's answer (above 32 is success).
    virtual long OpenWithApplication(const std::string& path) = 0;
    // A replace page's result not replaced yet starts the walk there.
    virtual void StartReplacement(CFileFindDoc& page, std::size_t index) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

class CResultPages {
public:
    CResultPages(CTabDoc& document, CResultPageView& view, CResultViewer& viewer,
                 kestrix::FileSystem& fs, CAppSettings& settings);

    // --- the search run's page operations (CSearchUi) ---
    // The page the run just added goes to the left end, the limit applied.
    bool OpenPage(CFileFindDoc& page);
    void ActivatePage(CFileFindDoc& page);
    void ClearPage(CFileFindDoc& page);
    void AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file);
    void AppendClosingLine(CFileFindDoc& page, const std::string& text);
    // The running search could not search a file or folder, or gave up a file's
    // converter and searched its bytes; the page says so.
    void ReportSkipped(const std::string& message);
    void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters);
    void RefreshResults(int resultsShown);
    // The run that filled `page` has ended: its current result follows the rule.
    void RunEnded(CFileFindDoc& page);
    // After the run: the page's results go into the result file.
    void StoreRun(CFileFindDoc& page);
    // After a replacement walk: what it changed in the results is stored with them.
    void StoreReplaced(CFileFindDoc& page);
    // An undo put these files back: the results of them on every page of the document
    // are marked as not replaced, at their old offsets (where the file holds their
    // passages there again), and each page changed is stored
    // so; the current page is drawn again, and a restored file in the viewer is loaded
    // anew. Returns the number of pages changed.
    std::size_t FilesRestored(const std::vector<std::string>& paths);

    // --- the page row ---
    // Shows page `index`: reads its results and draws it.
    bool ShowPage(std::size_t index);
    // The document changed as a whole (new, opened): the current page is drawn.
    void ShowDocument();
    bool DeleteCurrentPage();
    bool ShiftCurrentPage(bool left);
    bool RenamePage(std::size_t index, const std::string& caption);

    // --- walking the results of the current page ---
    // Steps and shows the result; false when the step is not possible now.
    bool Step(CStep step, bool replacePage, CResultActions& actions);
    // Shows result `index` of the current page as a step or a click does.
    bool ShowResult(std::size_t index, bool replacePage, CResultActions& actions);
    // The replacement shows the result it asks about: in the viewer and in the page,
    // without starting anything.
    void ShowForReplacement(std::size_t index);
    void ResultReplaced(std::size_t index, int delta);
    // A click at `position` of the page's text makes that result current.
    bool SelectAt(std::size_t position);
    // "&Open in registered Application": the file shown.
    void OpenShownFile(CResultActions& actions);

    // What the enabling rules look at besides the run state.
    CCommandContext Context(bool searching, bool replacing, bool definitionPageActive,
                            bool cacheOpen) const;

    CResultViewer& viewer() { return *viewer_; }
    // Another viewer takes over (the window that shows files plugs in here).
    void SetViewer(CResultViewer& viewer);

private:
    CFileFacts FactsOf(const CSearchResult& result);
    void OpenOutside(const std::string& path, CResultActions& actions);

    CTabDoc& document_;
    CResultPageView& view_;
    CResultViewer* viewer_;
    kestrix::FileSystem& fs_;
    CAppSettings& settings_;
    // A result opened in its application counts as the file shown.
    std::string openedOutside_;
};

} // namespace sorbex
