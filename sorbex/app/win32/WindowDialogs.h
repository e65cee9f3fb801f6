// The user dialogs of the windowed program: message boxes captioned with the program's
// title, the replacement's dialogs, the result-file dialogs and the shell.
#pragma once

#include <windows.h>

#include "app/UserDialogs.h"

namespace sorbex {

class CWindowDialogs : public CUserDialogs {
public:
    CWindowDialogs(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    bool AskOkCancel(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    CSaveAnswer AskSaveChanges(const std::string& question) override;
    void ShowError(const std::string& text) override;
    void ShowMessage(const std::string& text) override;
    bool ShowReplaceWarning() override;
    CReplaceConfirmation ConfirmReplace(const std::string& question) override;
    std::string ChooseResultFile(bool save, const std::string& current) override;
    long OpenWithApplication(const std::string& path) override;

private:
    int Box(const std::string& text, UINT type);

    HINSTANCE instance_;
    HWND owner_;
};

} // namespace sorbex
