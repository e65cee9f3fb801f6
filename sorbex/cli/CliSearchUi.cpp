// The search run's user interface on a terminal: results to one stream, the rest to another.
#include "cli/CliSearchUi.h"

#include "cli/Cp1252.h"

namespace sorbex {
namespace {

constexpr std::size_t kProgressWidth = 79; // one line of a classic terminal

} // namespace

bool CCliSearchUi::AskOkCancel(const std::string& text) {
    // Nobody can put a disc in while a script waits: cancelled, and said so.
    ClearProgressLine();
    err_ << "sorbex: " << EscapeControls(text) << " (cancelled)\n";
    errorShown_ = true;
    return false;
}

void CCliSearchUi::ShowError(const std::string& text) {
    ClearProgressLine();
    err_ << text << "\n";
    errorShown_ = true;
}

void CCliSearchUi::ReportSkipped(const std::string&, const std::string& message) {
    ClearProgressLine();
    err_ << "sorbex: " << EscapeControls(message) << "\n";
    skippedReported_ = true;
}

void CCliSearchUi::SetStatusText(const std::string& text) {
    if (!terminal_.progress)
        return;
    std::string line;
    if (progressRange_ > 0)
        line =
            "[" + std::to_string(progressPosition_) + "/" + std::to_string(progressRange_) + "] ";
    line += EscapeControls(text);
    if (line.size() > kProgressWidth)
        line = line.substr(0, kProgressWidth - 3) + "...";
    err_ << "\r" << line << "\x1b[K" << std::flush;
    progressShown_ = true;
}

void CCliSearchUi::ClearProgressLine() {
    if (!progressShown_)
        return;
    err_ << "\r\x1b[K" << std::flush;
    progressShown_ = false;
}

bool CCliSearchUi::CancelRequested() const {
    return terminal_.cancelSignalled && terminal_.cancelSignalled();
}

void CCliSearchUi::AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) {
    ClearProgressLine();
    result.viewPosition = lineCount_;
    const bool listing = page.request.expression.empty();
    line_.clear();
    if (listing || (result.flags & kResultFirstOfFile)) {
        AppendFileLine(line_, file.name, file.dir, file.isDirectory != 0, file.size,
                       file.modified);
        line_ += '\n';
        ++lineCount_;
    }
    if (!listing) {
        line_ += PassageLineForTerminal(result,
                                        terminal_.colour ? CHighlight::Colour : CHighlight::Brackets);
        line_ += '\n';
        ++lineCount_;
    }
    out_.write(line_.data(), static_cast<std::streamsize>(line_.size()));
}

void CCliSearchUi::AppendClosingLine(CFileFindDoc&, const std::string& text) {
    ClearProgressLine();
    out_ << "\n" << text << "\n";
    lineCount_ += 2;
}

void CCliSearchUi::ShowCounters(CFileFindDoc&, const CSearchCounters& counters) {
    if (counters.listing) {
        out_ << "Entries listed: " << counters.found << " (" << counters.total << " files seen)\n";
        return;
    }
    out_ << "Files found / total: " << counters.filesWithPassages << " / " << counters.found << " ("
         << counters.total << " files seen)\n"
         << "Passages found: " << counters.passages << "\n";
    if (counters.skipped > 0)
        out_ << "Not searched: " << counters.skipped
             << (counters.skipped == 1 ? " file or directory" : " files or directories")
             << " (see the messages)\n";
}

} // namespace sorbex
