// User dialogs for tests: every question is answered from a script, every message kept.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/UserDialogs.h"

namespace sorbex {

class CUserDialogsScript : public CUserDialogs {
public:
    bool okCancelAnswer = true;
    bool yesNoAnswer = true;
    std::deque<CSaveAnswer> saveAnswers; // Cancel when the script runs out
    bool noMoreWarnings = false;
    std::deque<CReplaceConfirmation> confirmations; // Cancel when the script runs out
    std::deque<std::string> chosenFiles;            // "" (cancelled) when it runs out
    long openAnswer = 42;

    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> messages;
    std::vector<std::string> opened;
    int warnings = 0;

    bool AskOkCancel(const std::string& text) override {
        questions.push_back(text);
        return okCancelAnswer;
    }
    bool AskYesNo(const std::string& text) override {
        questions.push_back(text);
        return yesNoAnswer;
    }
    CSaveAnswer AskSaveChanges(const std::string& question) override {
        questions.push_back(question);
        return Take(saveAnswers, CSaveAnswer::Cancel);
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool ShowReplaceWarning() override {
        ++warnings;
        return noMoreWarnings;
    }
    CReplaceConfirmation ConfirmReplace(const std::string& question) override {
        questions.push_back(question);
        return Take(confirmations, CReplaceConfirmation());
    }
    std::string ChooseResultFile(bool, const std::string&) override {
        return Take(chosenFiles, std::string());
    }
    long OpenWithApplication(const std::string& path) override {
        opened.push_back(path);
        return openAnswer;
    }

private:
    template <class T> static T Take(std::deque<T>& script, T whenEmpty) {
        if (script.empty())
            return whenEmpty;
        T answer = script.front();
        script.pop_front();
        return answer;
    }
};

} // namespace sorbex
