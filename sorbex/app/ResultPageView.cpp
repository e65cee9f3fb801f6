// The result page as its view shows it: the header, the results appended in batches, the
// closing line and the counters, over a small interface to the editor control.
#include "app/ResultPageView.h"

#include <algorithm>
#include <vector>

namespace sorbex {
namespace {

CRichTextBuilder HeaderText(const CSearchRequest& request, const CSearchCounters* counters) {
    CHeaderTable table = BuildHeaderTable(request);
    if (counters)
        SetHeaderCounters(table, *counters);
    CRichTextBuilder text;
    text.AppendTable(table.rows);
    return text;
}

void AppendPlainLine(CRichTextBuilder& out, const std::string& text) {
    out.BeginParagraph(CParagraphStyle::Plain);
    out.Append(CRunStyle::Normal, text);
    out.EndParagraph();
}

void AppendClosingLines(CRichTextBuilder& out, const CPageMemo& memo) {
    if (memo.closingLine.empty())
        return;
    AppendPlainLine(out, memo.closingLine);
    for (const std::string& message : memo.skipped)
        AppendPlainLine(out, message);
}

} // namespace

std::size_t FirstPieceResults(std::size_t linesShown) {
    if (linesShown == 0)
        return kFirstPieceResults;
    return std::clamp(linesShown, kFewestFirstPieceResults, kFirstPieceResults);
}

void CResultPageView::StartPage(CFileFindDoc& page, bool withHeader) {
    page_ = &page;
    headerPending_ = false;
    DropBacklog();
    lines_.Clear();
    surface_.Clear();
    committed_ = 0;
    resultsCommitted_ = 0;
    firstPieceResults_ = FirstPieceResults(surface_.LinesShown());
    if (!withHeader)
        return;
    const CPageMemo& memo = MemoOf(page);
    const CRichTextBuilder header =
        HeaderText(page.request, memo.counters ? &*memo.counters : nullptr);
    surface_.Append(header);
    // The control counts a table's structure its own way; positions start after it.
    committed_ = surface_.Length();
}

CRichTextBuilder& CResultPageView::PieceForResult() {
    // The last piece is the page's first while it holds every result added so far.
    const bool first = resultsInLastPiece_ == resultsAdded_;
    if (backlog_.empty() ||
        resultsInLastPiece_ >= (first ? firstPieceResults_ : kPieceResults)) {
        backlog_.emplace_back();
        resultsInLastPiece_ = 0;
    }
    ++resultsInLastPiece_;
    ++resultsAdded_;
    ++backlog_.back().results;
    return backlog_.back().text;
}

void CResultPageView::Queue(const CRichTextBuilder& text) {
    if (text.empty())
        return;
    backlog_.push_back({text, 0});
    queued_ += text.length();
    // Nothing is added to a piece that is not a page's results.
    resultsInLastPiece_ = kPieceResults;
}

std::size_t CResultPageView::StreamPieces(std::size_t count) {
    count = std::min(count, backlog_.size());
    if (count == 0)
        return 0;
    // One stream for all of them: each call into the control costs on its own.
    CRichTextBuilder joined = std::move(backlog_.front().text);
    resultsCommitted_ += backlog_.front().results;
    backlog_.pop_front();
    for (std::size_t i = 1; i < count; ++i) {
        joined.Append(backlog_.front().text);
        resultsCommitted_ += backlog_.front().results;
        backlog_.pop_front();
    }
    surface_.Append(joined);
    committed_ += joined.length();
    queued_ -= joined.length();
    if (backlog_.empty())
        resultsInLastPiece_ = 0;
    return count;
}

std::size_t CResultPageView::PiecesForShownPart() const {
    std::size_t count = 0;
    std::size_t results = resultsCommitted_;
    while (count < backlog_.size() && results < firstPieceResults_)
        results += backlog_[count++].results;
    return count;
}

void CResultPageView::StreamThrough(std::size_t position) {
    std::size_t count = 0;
    std::size_t total = committed_;
    while (count < backlog_.size() && total <= position)
        total += backlog_[count++].text.length();
    StreamPieces(count);
}

bool CResultPageView::StreamPiece() {
    if (backlog_.empty())
        return false;
    StreamPieces(1);
    surface_.Refresh(false);
    return true;
}

void CResultPageView::Complete() {
    WriteHeaderIfPending();
    StreamPieces(backlog_.size());
}

void CResultPageView::TellOfBacklog() {
    if (HasBacklog() && backlogWaiting)
        backlogWaiting();
}

void CResultPageView::DropBacklog() {
    pieceOwed_ = false;
    backlog_.clear();
    queued_ = 0;
    resultsInLastPiece_ = 0;
    resultsAdded_ = 0;
}

void CResultPageView::AddResult(CSearchResult& result, int index, const CFileFacts& facts) {
    CRichTextBuilder& piece = PieceForResult();
    const std::size_t before = piece.length();
    // Where the piece will begin in the control once what waits before it is in.
    const std::size_t base = committed_ + queued_ - before;
    CResultSpan span = AppendResultLines(piece, result, index, facts);
    queued_ += piece.length() - before;
    span.lineStart += base;
    span.lineEnd += base;
    span.position += base;
    result.viewPosition = static_cast<std::int32_t>(span.position);
    lines_.Add(span);
}

void CResultPageView::Render(CFileFindDoc& page, const FactsOf& factsOf) {
    const CPageMemo memo = MemoOf(page);
    StartPage(page, memo.hasRequest);
    for (std::size_t i = 0; i < page.results.size(); ++i)
        AddResult(page.results[i], static_cast<int>(i), factsOf(page.results[i]));
    CRichTextBuilder closing;
    AppendClosingLines(closing, memo);
    Queue(closing);
    StreamPieces(PiecesForShownPart());
    surface_.Refresh(false);
    TellOfBacklog();
}

void CResultPageView::BeginRun(CFileFindDoc& page) {
    CPageMemo& memo = MemoOf(page);
    memo = CPageMemo();
    memo.hasRequest = true;
    runPage_ = &page;
    // The run copies its request into the page after clearing it: the header waits
    // for the first thing written below it.
    StartPage(page, false);
    headerPending_ = true;
    surface_.Refresh(true);
}

void CResultPageView::WriteHeaderIfPending() {
    if (!headerPending_ || !page_)
        return;
    headerPending_ = false;
    const CRichTextBuilder header = HeaderText(page_->request, nullptr);
    surface_.Append(header);
    // The control counts a table's structure its own way; positions start after it.
    committed_ = surface_.Length();
}

void CResultPageView::AppendResult(CFileFindDoc& page, CSearchResult& result,
                                   const CFileFacts& facts) {
    if (&page != page_)
        return;
    WriteHeaderIfPending();
    if (pieceOwed_) {
        pieceOwed_ = false;
        if (StreamPieces(1) > 0)
            surface_.Refresh(false);
    }
    // The result is the page's last; results are added one at a time.
    AddResult(result, static_cast<int>(page.results.size()) - 1, facts);
}

void CResultPageView::Refresh(int resultsShown) {
    WriteHeaderIfPending();
    const bool followEnd = resultsShown < kFollowEndBelow;
    std::size_t count = PiecesForShownPart();
    // Beyond the part a reader sees at once, a piece per refresh: a long run shows more
    // as it goes, at a cost that stays a small share of the run's. The piece goes in
    // with the run's next result: a run that closes instead leaves it to the idle feed,
    // which puts it in moments later, so the run does not wait for it. A page that
    // follows its end takes it at once, to show that end.
    if (count == 0 && followEnd)
        count = 1;
    else if (count == 0)
        pieceOwed_ = HasBacklog();
    StreamPieces(count);
    surface_.Refresh(followEnd);
}

void CResultPageView::AppendClosingLine(CFileFindDoc& page, const std::string& text) {
    CPageMemo& memo = MemoOf(page);
    memo.closingLine = text;
    if (runPage_ == &page)
        runPage_ = nullptr;
    if (&page != page_)
        return;
    WriteHeaderIfPending();
    CRichTextBuilder line;
    AppendClosingLines(line, memo);
    Queue(line);
    StreamPieces(PiecesForShownPart());
    surface_.Refresh(false);
    TellOfBacklog();
}

void CResultPageView::ReportSkipped(const std::string& message) {
    if (runPage_)
        MemoOf(*runPage_).skipped.push_back(message);
}

std::size_t CResultPageView::HeaderCounters(const CSearchCounters& counters) {
    const CHeaderTable table = BuildHeaderTable(page_->request);
    // The marks stand in the order of the cells: passages first where there are any.
    std::vector<std::string> texts;
    if (table.passagesCell.row >= 0)
        texts.push_back(PassagesCounterText(counters));
    if (table.filesCell.row >= 0)
        texts.push_back(FilesCounterText(counters));
    std::size_t added = 0;
    std::size_t from = 0;
    for (const std::string& text : texts) {
        const std::size_t mark = surface_.FindCounterMark(from);
        if (mark == kNoMark)
            break;
        CRichTextBuilder value;
        value.Append(CRunStyle::Value, text);
        surface_.Replace(mark, mark + 1, value);
        added += text.size() - 1;
        from = mark + text.size();
    }
    return added;
}

void CResultPageView::ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) {
    MemoOf(page).counters = counters;
    if (&page != page_ || !MemoOf(page).hasRequest)
        return;
    WriteHeaderIfPending();
    StreamPieces(PiecesForShownPart());
    const auto added = static_cast<std::ptrdiff_t>(HeaderCounters(counters));
    if (added == 0)
        return;
    ShiftViewPositions(page.results, added);
    lines_.Shift(added);
    committed_ += static_cast<std::size_t>(added);
}

void CResultPageView::SelectResult(const CFileFindDoc& page, std::size_t index) {
    if (&page != page_ || index >= page.results.size())
        return;
    WriteHeaderIfPending();
    const CSearchResult& r = page.results[index];
    const std::size_t length =
        IsEntryResult(r) ? r.name.size()
                         : static_cast<std::size_t>(std::max(0, r.excerptEnd - r.excerptStart));
    // Stored positions count from 1.
    const std::size_t from = r.viewPosition > 0 ? static_cast<std::size_t>(r.viewPosition - 1) : 0;
    StreamThrough(from + length);
    surface_.Select(from, from + length);
}

void CResultPageView::Forget(const CFileFindDoc& page) {
    memos_.erase(&page);
    if (runPage_ == &page)
        runPage_ = nullptr;
    if (page_ == &page) {
        page_ = nullptr;
        DropBacklog();
        lines_.Clear();
        surface_.Clear();
        committed_ = 0;
        resultsCommitted_ = 0;
    }
}

void CResultPageView::ForgetAll() {
    memos_.clear();
    runPage_ = nullptr;
    page_ = nullptr;
    DropBacklog();
    lines_.Clear();
    surface_.Clear();
    committed_ = 0;
    resultsCommitted_ = 0;
}

} // namespace sorbex
