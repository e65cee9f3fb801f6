// A user interface for tests of the file list: records what it is told, answers from a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "search/FileListUi.h"

namespace sorbex {

class CFileListUiRecorder : public CFileListUi {
public:
    std::deque<bool> answers; // OK (true) or Cancel for each question, in order
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> statusTexts;
    int statusTextsAfterCancel = 0;
    int idleStatusCount = 0;
    std::string historyDirectories;
    std::string historyMasks;
    std::vector<std::string> skipped; // "path: message"
    int pumps = 0;
    int cancelAtPump = -1; // the pump that brings the user's cancel; -1 for never
    bool cancelled = false;
    std::function<void()> onPump; // called at every pump, after the count

    bool AskOkCancel(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void SetStatusText(const std::string& text) override {
        statusTexts.push_back(text);
        if (cancelled)
            ++statusTextsAfterCancel;
    }
    void ShowIdleStatus() override { ++idleStatusCount; }
    void RememberHistory(const std::string& directoryText, const std::string& maskText) override {
        historyDirectories = directoryText;
        historyMasks = maskText;
    }
    void ReportSkipped(const std::string& path, const std::string& message) override {
        skipped.push_back(path + ": " + message);
    }
    void ProcessMessages() override {
        if (++pumps == cancelAtPump)
            cancelled = true;
        if (onPump)
            onPump();
    }
    bool CancelRequested() const override { return cancelled; }
};

} // namespace sorbex
