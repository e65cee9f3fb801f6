// A replacement user interface and a profile for tests, answering from a script.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "search/ProfileSettings.h"
#include "search/ReplaceUi.h"

namespace sorbex {

class CReplaceUiRecorder : public CReplaceUi {
public:
    explicit CReplaceUiRecorder(bool& quitRequested) : quitRequested_(quitRequested) {}

    bool warningNoLonger = false; // the answer of the warning's check box
    int warnings = 0;
    // One answer per confirmation, in order; Cancel when the script runs out.
    std::deque<CReplaceConfirmation> answers;
    std::vector<std::string> questions;
    std::vector<std::string> messages;
    std::vector<std::size_t> shown;
    std::vector<std::size_t> replaced;
    std::vector<int> deltas;
    int pumps = 0;
    int quitAtPump = -1; // the pump that brings the application's quit; -1 for never
    // The question (counted from 0) during which the user cancels (Esc, Ctrl+C, Stop)
    // before the scripted answer is given; -1 for never.
    int quitAtQuestion = -1;
    int commandUpdates = 0;

    bool ShowReplaceWarning() override {
        ++warnings;
        return warningNoLonger;
    }
    CReplaceConfirmation ConfirmReplace(const std::string& question) override {
        questions.push_back(question);
        if (static_cast<int>(questions.size()) - 1 == quitAtQuestion)
            quitRequested_ = true;
        if (answers.empty())
            return {};
        const CReplaceConfirmation answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowResult(std::size_t index) override { shown.push_back(index); }
    void ResultReplaced(std::size_t index, int delta) override {
        replaced.push_back(index);
        deltas.push_back(delta);
    }
    void ProcessMessages() override {
        if (pumps++ == quitAtPump)
            quitRequested_ = true;
    }
    void UpdateCommandStates() override { ++commandUpdates; }

private:
    bool& quitRequested_;
};

class CMemoryProfile : public CProfileSettings {
public:
    std::map<std::string, int> values; // "Section/Key"

    int GetInt(const std::string& section, const std::string& key, int fallback) override {
        const auto found = values.find(section + "/" + key);
        return found == values.end() ? fallback : found->second;
    }
    void WriteInt(const std::string& section, const std::string& key, int value) override {
        values[section + "/" + key] = value;
    }
};

} // namespace sorbex
