// What building the file list asks of the user interface.
#pragma once

#include <string>

namespace sorbex {

// The search run implements this as part of its own user-interface interface; the
// command line and the windowed program each answer it their way.
class CFileListUi {
public:
    virtual ~CFileListUi() = default;

    // A question with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;

    virtual void SetStatusText(const std::string& text) = 0;
    // Back to the status bar's idle text.
    virtual void ShowIdleStatus() = 0;

    // The search page keeps the texts a search used in its history lists.
    virtual void RememberHistory(const std::string& directoryText, const std::string& maskText) = 0;

    // A file or directory that the run passes over, with the message that says which and
    // why (a string-table text with the path and the system's reason filled in). The
    // window may leave it unsaid, as the run's messages always have; the command line
    // prints it, and its exit status says that not everything was searched.
    virtual void ReportSkipped(const std::string& path, const std::string& message) {
        static_cast<void>(path);
        static_cast<void>(message);
    }

    // Lets waiting window messages through; a cancel arrives this way.
    virtual void ProcessMessages() = 0;
    virtual bool CancelRequested() const = 0;
};

} // namespace sorbex
