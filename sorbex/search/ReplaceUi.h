// What the replacement walk asks of the user interface, and the texts of its two dialogs.
#pragma once

#include <cstddef>
#include <string>

namespace sorbex {

// The warning shown before a walk, one string per line of the dialog.
constexpr const char* kReplaceWarningCaption = "Warning";
constexpr const char* kReplaceWarningLines[] = {
    "Please replace text only in pure text files. If you replace text in binary",
    "files like WinWord documents, the file structure will change and in",
    "most times the document becomes unusable."};
constexpr const char* kReplaceWarningCheckBox = "Show this warning no longer";

constexpr const char* kReplaceConfirmCaption = "Ersetzen";
constexpr const char* kReplaceAllCheckBox = "&Replace All";

enum class CReplaceAnswer { Yes, No, Cancel };

struct CReplaceConfirmation {
    CReplaceAnswer answer = CReplaceAnswer::Cancel;
    // The state of the "&Replace All" check box; Cancel does not take it over.
    bool replaceAll = false;
};

// The search run's user interface implements this beside CFileListUi; ProcessMessages
// has the same signature in both, so one override serves both.
class CReplaceUi {
public:
    virtual ~CReplaceUi() = default;

    // The warning dialog; returns the state of its "Show this warning no longer" box.
    virtual bool ShowReplaceWarning() = 0;

    // The confirmation dialog with Yes, No, Cancel and the "&Replace All" box.
    virtual CReplaceConfirmation ConfirmReplace(const std::string& question) = 0;

    virtual void ShowMessage(const std::string& text) = 0;

    // Shows result `index` of the page in the file viewer before it is asked about.
    virtual void ShowResult(std::size_t index) = 0;

    // Result `index` was written to its file with a length change of `delta`: the viewer
    // changes its copy of the text, and the result's line is selected in the page.
    virtual void ResultReplaced(std::size_t index, int delta) = 0;

    // Lets waiting window messages through; a quit arrives this way.
    virtual void ProcessMessages() = 0;

    // Enables and disables the commands after a walk changed the run state.
    virtual void UpdateCommandStates() = 0;
};

} // namespace sorbex
