// The user dialogs of the windowed program: message boxes captioned with the program's
// title, the replacement's dialogs, the result-file dialogs and the shell.
#include "app/win32/WindowDialogs.h"

#include "app/win32/FileChoosers.h"
#include "app/win32/ReplaceDialogs.h"
#include "app/win32/WideText.h"
#include "strings/SorbexStrings.h"

namespace sorbex {

int CWindowDialogs::Box(const std::string& text, UINT type) {
    return MessageBoxW(owner_, Wide(text).c_str(), Wide(SorbexString(IDS_APP_TITLE)).c_str(), type);
}

bool CWindowDialogs::AskOkCancel(const std::string& text) {
    return Box(text, MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

bool CWindowDialogs::AskYesNo(const std::string& text) {
    return Box(text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

CSaveAnswer CWindowDialogs::AskSaveChanges(const std::string& question) {
    switch (Box(question, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return CSaveAnswer::Yes;
    case IDNO:
        return CSaveAnswer::No;
    default:
        return CSaveAnswer::Cancel;
    }
}

void CWindowDialogs::ShowError(const std::string& text) {
    Box(text, MB_OK | MB_ICONEXCLAMATION);
}

void CWindowDialogs::ShowMessage(const std::string& text) {
    Box(text, MB_OK | MB_ICONINFORMATION);
}

bool CWindowDialogs::ShowReplaceWarning() {
    return RunReplaceWarning(instance_, owner_);
}

CReplaceConfirmation CWindowDialogs::ConfirmReplace(const std::string& question) {
    // A click that started the walk may still hold the mouse.
    ReleaseCapture();
    return RunReplaceConfirmation(instance_, owner_, question);
}

std::string CWindowDialogs::ChooseResultFile(bool save, const std::string& current) {
    return sorbex::ChooseResultFile(owner_, save, current);
}

long CWindowDialogs::OpenWithApplication(const std::string& path) {
    return OpenWithRegisteredApplication(owner_, path);
}

} // namespace sorbex
