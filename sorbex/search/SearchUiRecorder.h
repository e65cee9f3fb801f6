// A user interface for tests of the search run: records what it is told, cancels on cue.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "search/FileListUiRecorder.h"
#include "search/SearchUi.h"

namespace sorbex {

class CSearchUiRecorder : public CSearchUi {
public:
    CFileListUiRecorder fileList; // prompts, errors, status texts and the pump's cancel
    std::vector<std::string> events;
    std::vector<std::string> closingLines;
    std::vector<std::string> shownFiles;
    std::vector<std::string> refreshes; // "results on the page@progress" of each refresh
    CSearchCounters counters;
    int countersShown = 0;
    bool quitAtNextPump = false;
    bool canOpenPages = true;
    // Called after each result is written, e.g. to let time pass or to press Esc.
    std::function<void(const CSearchResult&)> onAppend;

    bool AskOkCancel(const std::string& text) override { return fileList.AskOkCancel(text); }
    void ShowError(const std::string& text) override { fileList.ShowError(text); }
    void SetStatusText(const std::string& text) override { fileList.SetStatusText(text); }
    void ShowIdleStatus() override { fileList.ShowIdleStatus(); }
    void RememberHistory(const std::string& d, const std::string& m) override {
        fileList.RememberHistory(d, m);
    }
    void ReportSkipped(const std::string& path, const std::string& message) override {
        fileList.ReportSkipped(path, message);
    }
    void ProcessMessages() override { fileList.ProcessMessages(); }
    bool CancelRequested() const override { return fileList.CancelRequested(); }
    bool QuitReceived() override {
        const bool quit = quitAtNextPump;
        quitAtNextPump = false;
        return quit;
    }

    void UpdateCommandStates() override {}
    void FocusActiveView() override {}
    void FoldPropertyBar() override { events.push_back("fold"); }
    void UnfoldPropertyBar() override { events.push_back("unfold"); }
    bool OpenPage(CFileFindDoc& page) override {
        events.push_back("open " + page.caption);
        return canOpenPages;
    }
    void ActivatePage(CFileFindDoc&) override {}
    void ClearPage(CFileFindDoc&) override { closingLines.clear(); }
    void AppendResult(CFileFindDoc&, CSearchResult& result, const CFileEntry& file) override {
        // What a result line shows of its file: name, size, and whether it has a date.
        shownFiles.push_back(file.name + " " + std::to_string(file.size) +
                             (file.modified > 0 ? " dated" : " undated"));
        if (onAppend)
            onAppend(result);
    }
    void AppendClosingLine(CFileFindDoc&, const std::string& text) override {
        closingLines.push_back(text);
    }
    void ShowCounters(CFileFindDoc&, const CSearchCounters& shown) override {
        counters = shown;
        ++countersShown;
    }
    void RefreshResults(CFileFindDoc& page, int) override {
        refreshes.push_back(std::to_string(page.results.size()) + "@" +
                            std::to_string(lastProgress));
    }
    void ShowProgress(int range) override {
        events.push_back("progress 0/" + std::to_string(range));
    }
    void SetProgress(int position) override { lastProgress = position; }
    void HideProgress() override { events.push_back("progress off"); }
    void Beep() override { events.push_back("beep"); }

    int lastProgress = 0;
};

} // namespace sorbex
