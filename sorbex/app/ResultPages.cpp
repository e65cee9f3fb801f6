// The result pages of the main window: the document's pages, the page shown, the walk
// through its results, and what the search run and the replacement do to them.
#include "app/ResultPages.h"

#include "app/PageRow.h"
#include "strings/SorbexStrings.h"
#include "undo/RestoredResults.h"

namespace sorbex {
namespace {

CFileFacts FactsFromEntry(const CFileEntry& file) {
    CFileFacts facts;
    facts.known = file.statusKnown;
    facts.isDirectory = file.isDirectory != 0;
    facts.size = file.size;
    facts.modified = file.modified;
    return facts;
}

} // namespace

CResultPages::CResultPages(CTabDoc& document, CResultPageView& view, CResultViewer& viewer,
                           kestrix::FileSystem& fs, CAppSettings& settings)
    : document_(document), view_(view), viewer_(&viewer), fs_(fs), settings_(settings) {}

void CResultPages::SetViewer(CResultViewer& viewer) {
    viewer_->Clear();
    viewer_ = &viewer;
}

CFileFacts CResultPages::FactsOf(const CSearchResult& result) {
    CFileFacts facts;
    // Only bars and listing lines show size and date: only those look the file up.
    if (!(result.flags & kResultFirstOfFile) && !IsEntryResult(result))
        return facts;
    kestrix::FileStatus status;
    if (fs_.GetFileStatus(result.dir + result.name, status))
        return facts;
    facts.known = true;
    facts.isDirectory = status.isDirectory;
    facts.size = status.size;
    facts.modified = kestrix::SecondsSince1970(status.lastWriteTime);
    return facts;
}

bool CResultPages::OpenPage(CFileFindDoc& page) {
    PlaceNewPage(document_, settings_.PageLimit());
    return document_.CurrentPage() == &page;
}

void CResultPages::ActivatePage(CFileFindDoc& page) {
    for (std::size_t i = 0; i < document_.size(); ++i)
        if (&document_[i] == &page)
            document_.SetCurrentPage(i);
    viewer_->Clear();
    openedOutside_.clear();
}

void CResultPages::ClearPage(CFileFindDoc& page) {
    view_.BeginRun(page);
}

void CResultPages::AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) {
    view_.AppendResult(page, result, FactsFromEntry(file));
}

void CResultPages::AppendClosingLine(CFileFindDoc& page, const std::string& text) {
    view_.AppendClosingLine(page, text);
}

void CResultPages::ReportSkipped(const std::string& message) {
    view_.ReportSkipped(message);
}

void CResultPages::ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) {
    view_.ShowCounters(page, counters);
}

void CResultPages::RefreshResults(int resultsShown) {
    view_.Refresh(resultsShown);
}

void CResultPages::RunEnded(CFileFindDoc& page) {
    page.current = CurrentResultAfter(CPageEvent::RunEnded, page.current,
                                      static_cast<int>(page.results.size()));
}

void CResultPages::StoreRun(CFileFindDoc& page) {
    // A page that cannot be stored keeps its results in memory; the file lacks them.
    document_.StorePageResults(page);
}

void CResultPages::StoreReplaced(CFileFindDoc& page) {
    document_.RewritePageResults(page);
}

std::size_t CResultPages::FilesRestored(const std::vector<std::string>& paths) {
    if (paths.empty())
        return 0;
    const std::string shown = viewer_->ShownFile();
    std::size_t changedPages = 0;
    bool currentChanged = false;
    // A page's replacements in a restored file may come from a walk that was not undone;
    // only passages the file holds again at their old offsets lose their mark.
    CRestoredFiles files(fs_);
    for (std::size_t i = 0; i < document_.size(); ++i) {
        const CEncodingChoice choice = document_[i].request.encoding;
        bool changed = false;
        document_.ChangePageResults(i, [&](CSearchResultArray& results) {
            changed = MarkRestoredResults(results, paths, [&](const CSearchResult& result) {
                          return files.HoldsPassage(result, choice);
                      }) > 0;
            return changed;
        });
        if (!changed)
            continue;
        ++changedPages;
        if (&document_[i] == document_.CurrentPage())
            currentChanged = true;
    }
    CFileFindDoc* page = document_.CurrentPage();
    const bool shownRestored = !shown.empty() && IsRestoredFile(shown, paths);
    if (!page || (!currentChanged && !shownRestored))
        return changedPages;
    // Drawing the page anew clears the viewer; the file it showed is loaded again, as
    // the undo left it.
    ShowPage(document_.currentIndex());
    if (shown.empty())
        return changedPages;
    std::optional<std::size_t> again;
    for (std::size_t i = 0; i < page->results.size(); ++i) {
        const CSearchResult& r = page->results[i];
        if (!IsRestoredFile(r.dir + r.name, {shown}))
            continue;
        if (!again || static_cast<int>(i) == page->current)
            again = i;
    }
    if (again) {
        viewer_->ShowResult(*page, *again);
        page->current = static_cast<int>(*again);
        view_.SelectResult(*page, *again);
    }
    return changedPages;
}

bool CResultPages::ShowPage(std::size_t index) {
    if (index >= document_.size())
        return false;
    // A page without stored results (the first page of a new document) has nothing
    // to read; it is shown empty all the same.
    document_.ShowPage(index);
    viewer_->Clear();
    openedOutside_.clear();
    CFileFindDoc& page = document_[index];
    page.current = CurrentResultAfter(CPageEvent::PageShown, page.current,
                                      static_cast<int>(page.results.size()));
    view_.Render(page, [this](const CSearchResult& r) { return FactsOf(r); });
    return true;
}

void CResultPages::ShowDocument() {
    view_.ForgetAll();
    viewer_->Clear();
    openedOutside_.clear();
    if (document_.size() > 0)
        ShowPage(document_.CurrentPage() ? document_.currentIndex() : 0);
}

bool CResultPages::DeleteCurrentPage() {
    const CFileFindDoc* page = document_.CurrentPage();
    if (!page || document_.size() < 2)
        return false;
    view_.Forget(*page);
    sorbex::DeleteCurrentPage(document_);
    return ShowPage(document_.currentIndex());
}

bool CResultPages::ShiftCurrentPage(bool left) {
    return sorbex::ShiftCurrentPage(document_, left);
}

bool CResultPages::RenamePage(std::size_t index, const std::string& caption) {
    return sorbex::RenamePage(document_, index, caption);
}

bool CResultPages::Step(CStep step, bool replacePage, CResultActions& actions) {
    CFileFindDoc* page = document_.CurrentPage();
    if (!page)
        return false;
    const std::optional<int> target = StepTarget(page->results, page->current, step);
    if (!target)
        return false;
    return ShowResult(static_cast<std::size_t>(*target), replacePage, actions);
}

bool CResultPages::ShowResult(std::size_t index, bool replacePage, CResultActions& actions) {
    CFileFindDoc* page = document_.CurrentPage();
    if (!page || index >= page->results.size())
        return false;
    const CSearchResult& result = page->results[index];
    switch (ShowActionFor(result, replacePage, settings_.DontUseFileViewer())) {
    case CShowAction::StartReplacement:
        page->current = static_cast<int>(index);
        view_.SelectResult(*page, index);
        actions.StartReplacement(*page, index);
        return true;
    case CShowAction::OpenInApplication:
        viewer_->Clear();
        OpenOutside(result.dir + result.name, actions);
        break;
    case CShowAction::ShowInViewer:
        openedOutside_.clear();
        viewer_->ShowResult(*page, index);
        break;
    }
    page->current = static_cast<int>(index);
    view_.SelectResult(*page, index);
    return true;
}

void CResultPages::ShowForReplacement(std::size_t index) {
    CFileFindDoc* page = document_.CurrentPage();
    if (!page || index >= page->results.size())
        return;
    openedOutside_.clear();
    viewer_->ShowResult(*page, index);
    page->current = static_cast<int>(index);
    view_.SelectResult(*page, index);
}

void CResultPages::ResultReplaced(std::size_t index, int delta) {
    CFileFindDoc* page = document_.CurrentPage();
    if (!page || index >= page->results.size())
        return;
    viewer_->ResultReplaced(*page, index, delta);
    view_.SelectResult(*page, index);
}

bool CResultPages::SelectAt(std::size_t position) {
    CFileFindDoc* page = document_.CurrentPage();
    const int index = view_.ResultAt(position);
    if (!page || view_.page() != page || index < 0)
        return false;
    page->current = CurrentResultAfter(CPageEvent::PositionChosen, page->current,
                                       static_cast<int>(page->results.size()), index);
    return true;
}

void CResultPages::OpenOutside(const std::string& path, CResultActions& actions) {
    openedOutside_ = path;
    const unsigned message = MessageForOpenResult(actions.OpenWithApplication(path));
    if (message)
        actions.ShowMessage(SorbexString(message));
}

void CResultPages::OpenShownFile(CResultActions& actions) {
    const std::string shown = viewer_->ShownFile();
    if (!shown.empty())
        OpenOutside(shown, actions);
    else if (!openedOutside_.empty())
        OpenOutside(openedOutside_, actions);
}

CCommandContext CResultPages::Context(bool searching, bool replacing, bool definitionPageActive,
                                      bool cacheOpen) const {
    CCommandContext context;
    context.searching = searching;
    context.replacing = replacing;
    context.definitionPageActive = definitionPageActive;
    context.cacheOpen = cacheOpen;
    context.pageCount = document_.size();
    context.documentHasPath = !document_.path().empty();
    if (CFileFindDoc* page = document_.CurrentPage()) {
        context.currentPage = static_cast<int>(document_.currentIndex());
        context.results = &page->results;
        context.currentResult = page->current;
    }
    context.fileShown = !viewer_->ShownFile().empty() || !openedOutside_.empty();
    return context;
}

} // namespace sorbex
