// The replacement's two dialogs: the warning before a walk and the question for each
// passage.
#include "app/win32/ReplaceDialogs.h"

#include "app/win32/ReplaceDialogsIds.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/Dialog.h"

namespace sorbex {
namespace {

class CReplaceWarningDialog : public kestrix::ui::Dialog {
public:
    bool noMoreWarnings = false;

protected:
    bool OnInit() override {
        SetWindowTextW(hwnd(), Wide(kReplaceWarningCaption).c_str());
        const int lines[] = {IDC_WARNING_LINE1, IDC_WARNING_LINE2, IDC_WARNING_LINE3};
        for (int i = 0; i < 3; ++i)
            SetItemText(lines[i], Wide(kReplaceWarningLines[i]));
        SetItemText(IDC_NO_MORE_WARNINGS, Wide(kReplaceWarningCheckBox));
        return true;
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != IDOK && id != IDCANCEL)
            return false;
        // The walk goes on however the dialog is closed; the box counts either way.
        noMoreWarnings = IsChecked(IDC_NO_MORE_WARNINGS);
        End(IDOK);
        return true;
    }
};

class CReplaceConfirmDialog : public kestrix::ui::Dialog {
public:
    explicit CReplaceConfirmDialog(std::wstring question) : question_(std::move(question)) {}
    CReplaceConfirmation answer;

protected:
    bool OnInit() override {
        SetWindowTextW(hwnd(), Wide(kReplaceConfirmCaption).c_str());
        SetItemText(IDC_QUESTION, question_);
        SetItemText(IDC_REPLACE_ALL, Wide(kReplaceAllCheckBox));
        return true;
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        switch (id) {
        case IDYES:
            answer = {CReplaceAnswer::Yes, IsChecked(IDC_REPLACE_ALL)};
            break;
        case IDNO:
            answer = {CReplaceAnswer::No, IsChecked(IDC_REPLACE_ALL)};
            break;
        case IDCANCEL:
            answer = {CReplaceAnswer::Cancel, false};
            break;
        default:
            return false;
        }
        End(id);
        return true;
    }

private:
    std::wstring question_;
};

} // namespace

bool RunReplaceWarning(HINSTANCE instance, HWND owner) {
    CReplaceWarningDialog dialog;
    dialog.RunModal(instance, IDD_REPLACE_WARNING, owner);
    return dialog.noMoreWarnings;
}

CReplaceConfirmation RunReplaceConfirmation(HINSTANCE instance, HWND owner,
                                            const std::string& question) {
    CReplaceConfirmDialog dialog(Wide(question));
    dialog.RunModal(instance, IDD_REPLACE_CONFIRM, owner);
    return dialog.answer;
}

} // namespace sorbex
