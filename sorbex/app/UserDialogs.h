// Everything the main window shows modally or hands to the system's shell, behind one
// interface: the windowed program answers with message boxes and dialogs, tests with
// scripted answers.
#pragma once

#include <string>

#include "app/DocumentCommands.h"
#include "search/ReplaceUi.h"

namespace sorbex {

class CUserDialogs {
public:
    virtual ~CUserDialogs() = default;

    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    virtual CSaveAnswer AskSaveChanges(const std::string& question) = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowMessage(const std::string& text) = 0;

    // The replacement's two dialogs.
    virtual bool ShowReplaceWarning() = 0;
    virtual CReplaceConfirmation ConfirmReplace(const std::string& question) = 0;

    // The open and save dialogs of result files; "" when cancelled.
    virtual std::string ChooseResultFile(bool save, const std::string& current) = 0;

    // Hands a file to the application registered for it; the shell's answer.
    virtual long OpenWithApplication(const std::string& path) = 0;
};

} // namespace sorbex
