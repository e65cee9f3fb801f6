// The search run's user interface on a terminal: results to one stream, the rest to another.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "cli/ResultLines.h"
#include "search/SearchUi.h"
#include "undo/UndoJournal.h"

namespace sorbex {

struct CCliTerminal {
    bool colour = false;   // standard output is a terminal: highlight with colour
    bool progress = false; // standard error is a terminal: show progress on one line
    // Raised by Ctrl+C; null when nothing can cancel.
    bool (*cancelSignalled)() = nullptr;
    // Where the answers to the replacement questions come from, and whether a person
    // types them there; a replacement that would have to guess its answers is refused.
    std::istream* answers = nullptr;
    bool answersInteractive = false;
    // Waits until an answer can be read from the terminal; false when Ctrl+C came
    // first. Null: reading the answer waits by itself.
    bool (*waitForAnswer)() = nullptr;
    // Called between the search and the replacement walk; tests change files there.
    std::function<void()> beforeReplacing;
    // Where the undo journal lives and how much it keeps; empty: beside the cache.
    std::string undoFolder;
    CUndoLimits undoLimits{kDefaultUndoWalks,
                           static_cast<std::uint64_t>(kDefaultUndoMegabytes) << 20};
};

class CCliSearchUi : public CSearchUi {
public:
    CCliSearchUi(std::ostream& out, std::ostream& err, const CCliTerminal& terminal)
        : out_(out), err_(err), terminal_(terminal) {}

    // Something went wrong that the user was told about on standard error.
    bool errorShown() const { return errorShown_; }
    // A file or directory was not searched, or a file only as its bytes because its
    // converter failed, and the user was told on standard error.
    bool skippedReported() const { return skippedReported_; }

    bool AskOkCancel(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void ReportSkipped(const std::string& path, const std::string& message) override;
    void SetStatusText(const std::string& text) override;
    void ShowIdleStatus() override { ClearProgressLine(); }
    void RememberHistory(const std::string&, const std::string&) override {}
    void ProcessMessages() override {}
    bool CancelRequested() const override;
    bool QuitReceived() override { return false; }

    void UpdateCommandStates() override {}
    void FocusActiveView() override {}
    void FoldPropertyBar() override {}
    void UnfoldPropertyBar() override {}
    bool OpenPage(CFileFindDoc&) override { return true; }
    void ActivatePage(CFileFindDoc&) override {}
    void ClearPage(CFileFindDoc&) override {}
    void AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) override;
    void AppendClosingLine(CFileFindDoc& page, const std::string& text) override;
    void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) override;
    void RefreshResults(CFileFindDoc&, int) override { out_.flush(); }
    void ShowProgress(int range) override { progressRange_ = range; }
    void SetProgress(int position) override { progressPosition_ = position; }
    void HideProgress() override { ClearProgressLine(); }
    void Beep() override {}
    void ReportConverterFailure(const std::string& path, const std::string& message) override {
        ReportSkipped(path, message);
    }

private:
    void ClearProgressLine();

    std::ostream& out_;
    std::ostream& err_;
    CCliTerminal terminal_;
    bool errorShown_ = false;
    bool skippedReported_ = false;
    bool progressShown_ = false;
    int progressRange_ = 0;
    int progressPosition_ = 0;
    int lineCount_ = 0; // lines written to the page, for viewPosition
    std::string line_;  // the lines of one result, kept to reuse the storage
};

} // namespace sorbex
