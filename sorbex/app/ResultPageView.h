// The result page as its view shows it: the header, the results appended in batches, the
// closing line and the counters, over a small interface to the editor control.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/HeaderTable.h"
#include "app/PageLines.h"
#include "app/RichText.h"
#include "search/FileFindDoc.h"

namespace sorbex {

constexpr std::size_t kNoMark = static_cast<std::size_t>(-1);

// What the view needs of the editor control. Positions count characters as the control
// does.
class CPageSurface {
public:
    virtual ~CPageSurface() = default;

    virtual void Clear() = 0;
    // Puts the text at the end, with drawing suspended while it goes in.
    virtual void Append(const CRichTextBuilder& text) = 0;
    virtual std::size_t Length() = 0;
    // The first counter mark (kCounterMark) at or after `from`, or kNoMark.
    virtual std::size_t FindCounterMark(std::size_t from) = 0;
    // Replaces [from, to) by the text.
    virtual void Replace(std::size_t from, std::size_t to, const CRichTextBuilder& text) = 0;
    // Selects the range and scrolls it into view.
    virtual void Select(std::size_t from, std::size_t to) = 0;
    // Repaints what was appended; with `followEnd` the end is scrolled into view.
    virtual void Refresh(bool followEnd) = 0;
    // How many lines of the page's text the control shows at once, at most; 0 when it
    // cannot tell.
    virtual std::size_t LinesShown() { return 0; }
};

// What a page shows besides its results, kept in memory for as long as the program runs
// (the result file keeps only captions and results).
struct CPageMemo {
    bool hasRequest = false; // the page was filled by a search of this session
    std::optional<CSearchCounters> counters;
    std::string closingLine;
    // Files and folders the run could not search, and files whose converter was given
    // up, with the reason, in the order reported.
    std::vector<std::string> skipped;
};

// A page with fewer results than this follows its end while results come in.
constexpr int kFollowEndBelow = 40;

// Putting text into the control costs in proportion to the text, and a reader sees only
// the top of a large page while a run goes on. So the text of a page waits in pieces of
// this many results, and goes into the control as a reader can use it: the first piece
// at once, then a piece per refresh of a run, and the rest a piece at a time once the
// run is over (StreamPiece), or at once where a result beyond it is selected.
constexpr std::size_t kPieceResults = 250;
// The first piece of a page is smaller: it is what a reader sees while the run goes on,
// and the control takes longest over it (when the scroll bar arrives it lays out again
// everything it holds). A result takes at least a line, so a piece of as many results
// as the control shows lines fills it; where the control cannot tell, the piece fills
// the tallest screen (about 120 lines of the page's 11-point text on a 2160-pixel
// screen). A piece never holds fewer than kFewestFirstPieceResults.
constexpr std::size_t kFirstPieceResults = 150;
constexpr std::size_t kFewestFirstPieceResults = 20;
// The first piece's size for a control that shows `linesShown` lines (0: unknown).
std::size_t FirstPieceResults(std::size_t linesShown);

class CResultPageView {
public:
    using FactsOf = std::function<CFileFacts(const CSearchResult&)>;

    explicit CResultPageView(CPageSurface& surface) : surface_(surface) {}

    // Shows `page` whole: the header when a search of this session filled it, every
    // result (their stored positions set anew), the closing line and the counters.
    void Render(CFileFindDoc& page, const FactsOf& factsOf);
    // A run begins to fill `page`: the text is the header of its request alone, written
    // as soon as anything follows it.
    void BeginRun(CFileFindDoc& page);
    // The result just added to the page goes into the next batch; its stored position
    // is set now.
    void AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileFacts& facts);
    // Puts the batch into the control and repaints it.
    void Refresh(int resultsShown);
    // The closing line, and below it a line for each file or folder the run reported as
    // skipped: they stand together under the results, the verdict first, so that the
    // results keep their bars and a reader sees at once that not everything was searched.
    void AppendClosingLine(CFileFindDoc& page, const std::string& text);
    // The run that began last could not search a file or folder, or gave up a file's
    // converter; `message` says which and why. Shown with the closing line; once that
    // is written the run has nothing more to report (a converter the viewer gives up
    // later is not the run's).
    void ReportSkipped(const std::string& message);
    // Writes the counters into the header; every stored position moves by the number of
    // characters this added.
    void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters);

    // True while text of the page shown waits to go into the control.
    bool HasBacklog() const { return !backlog_.empty(); }
    // Puts the next waiting piece into the control; false when none waited.
    bool StreamPiece();
    // Puts all waiting text into the control (printing, copying, the end of the page).
    void Complete();
    // Called when a page has been shown, or its run has closed, with text still
    // waiting: the window then feeds it in with StreamPiece while it has nothing else
    // to do.
    std::function<void()> backlogWaiting;

    // The result whose line holds `position`, or -1.
    int ResultAt(std::size_t position) const { return lines_.ResultAt(position); }
    // Selects the result's passage (or name) in the page.
    void SelectResult(const CFileFindDoc& page, std::size_t index);

    // The page shown, or null.
    const CFileFindDoc* page() const { return page_; }
    CPageMemo& MemoOf(const CFileFindDoc& page) { return memos_[&page]; }
    // The page went away; its memo with it.
    void Forget(const CFileFindDoc& page);
    void ForgetAll();

private:
    // The piece a result's lines go into: a new one after kFirstPieceResults results, then
    // every kPieceResults results.
    CRichTextBuilder& PieceForResult();
    void Queue(const CRichTextBuilder& text);
    // Puts the first `count` waiting pieces into the control; returns how many went in.
    std::size_t StreamPieces(std::size_t count);
    // How many pieces take the control to its first screen: the first piece, and what
    // follows it while the page has fewer results than that piece may hold (a short
    // page's closing line goes in with its results).
    std::size_t PiecesForShownPart() const;
    // Streams pieces until the control holds `position`.
    void StreamThrough(std::size_t position);
    void DropBacklog();
    void TellOfBacklog();
    void WriteHeaderIfPending();
    void StartPage(CFileFindDoc& page, bool withHeader);
    std::size_t HeaderCounters(const CSearchCounters& counters);
    void AddResult(CSearchResult& result, int index, const CFileFacts& facts);

    CPageSurface& surface_;
    const CFileFindDoc* page_ = nullptr;
    const CFileFindDoc* runPage_ = nullptr; // the page of the run that began last
    // Text not yet in the control, in order, with the results it holds; every piece
    // but the last is complete.
    struct CPiece {
        CRichTextBuilder text;
        std::size_t results = 0;
    };
    std::deque<CPiece> backlog_;
    std::size_t firstPieceResults_ = kFirstPieceResults; // for the page shown
    std::size_t resultsCommitted_ = 0;                    // results in the control
    std::size_t resultsInLastPiece_ = 0;
    std::size_t resultsAdded_ = 0; // results put into pieces since the page began
    std::size_t queued_ = 0; // characters in backlog_
    bool headerPending_ = false;
    bool pieceOwed_ = false; // a refresh's piece waits for the run's next result
    std::size_t committed_ = 0; // characters in the control, before backlog_
    CPageLineIndex lines_;
    std::map<const CFileFindDoc*, CPageMemo> memos_;
};

} // namespace sorbex
