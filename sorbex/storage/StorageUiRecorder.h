// A storage user interface for tests: records what was shown and answers from a script.
#pragma once

#include <string>
#include <vector>

#include "storage/StorageUi.h"

namespace sorbex {

class CStorageUiRecorder : public CStorageUi {
public:
    void BeginProgress(int range, const std::string& text) override {
        events.push_back("progress " + std::to_string(range) + " " + text);
    }
    void StepProgress() override { ++steps; }
    void EndProgress() override { events.push_back("progress end"); }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    bool AskYesNo(const std::string& question) override {
        events.push_back("ask " + question);
        return answer;
    }
    void ShowError(const std::string& message) override { events.push_back("error " + message); }

    bool answer = true;
    int steps = 0;
    int waitDepth = 0; // back to 0 when every wait cursor was removed
    std::vector<std::string> events;
};

} // namespace sorbex
