// What the cache and result-file commands ask of the user interface.
#pragma once

#include <string>

namespace sorbex {

// The windowed program shows a progress bar in its status bar, the wait cursor and
// message boxes; the command line prints or answers from its options.
class CStorageUi {
public:
    virtual ~CStorageUi() = default;

    // A progress bar of `range` steps with `text` beside it, until EndProgress.
    virtual void BeginProgress(int range, const std::string& text) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;

    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;

    // A Yes/No question with the question icon; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    // An error box with OK.
    virtual void ShowError(const std::string& message) = 0;
};

} // namespace sorbex
