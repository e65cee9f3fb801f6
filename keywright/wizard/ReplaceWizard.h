// The replacement wizard without its window: the steps, the search it starts, the
// rows it proposes, apply, undo and closing, driving a view that the window (or a
// test) implements.
#pragma once

#include "registry/KeyOperations.h"
#include "registry/RegistrySearch.h"
#include "wizard/ApplyUndo.h"
#include "wizard/ResultRows.h"
#include "wizard/WizardStates.h"

#include <memory>
#include <string>
#include <vector>

namespace keywright {

// What step 1 defines.
struct WizardCriteria {
    std::string findText;
    std::string replacementText;
    bool keys = true, values = true, data = true;
    bool matchCase = false, wholeString = false;
    bool wholeRegistry = true;
    bool hkcr = true, hkcu = true, hklm = true, hku = true, hkcc = true, hkdd = true;
};

// Copies the criteria into the search. The wizard always leaves out the copies that
// one root shows below another and searches every user below HKEY_USERS.
void LoadSearch(const WizardCriteria& criteria, RegistrySearch& search);

class WizardView {
public:
    virtual ~WizardView() = default;
    // The step-1 controls as they stand.
    virtual WizardCriteria ReadCriteria() = 0;
    // Lays the page of `state` out and shows it with the screen's buttons, title,
    // focus, step text and ticks; state 3 selects the first row, state 1 enables the
    // root boxes as "Whole Registry" says.
    virtual void ShowState(WizardState state, const WizardScreen& screen) = 0;
    // Empties the result list, freeing every row, and the detail window.
    virtual void ClearResults() = 0;
    // Takes the computers (or the selected key) from the editor, connects the
    // search's callbacks and starts it. False when it did not start.
    virtual bool StartSearch(RegistrySearch& search) = 0;
    // "&Stop" and the wait cursor while a search runs.
    virtual void ShowRunning(bool running) = 0;
    // The rows in list order.
    virtual std::vector<ResultRow*> Rows() = 0;
    // The "Applied" column of the rows has changed.
    virtual void ShowApplied() = 0;
    // Has the editor read the registry again.
    virtual void RefreshEditor() = 0;
    // A text in the add-in's box owned by the wizard.
    virtual void ShowMessage(const std::string& text) = 0;
};

class ReplaceWizard {
public:
    ReplaceWizard(WizardView& view, RegistrySearch& search, RegistryAccess access,
                  WizardMessages messages);

    WizardState state() const { return machine_.state(); }
    bool running() const { return running_; }
    void SetTrace(std::function<void(const std::string&)> trace) {
        machine_.SetTrace(std::move(trace));
    }

    // Shows step 1.
    void Open();
    void Next();
    void Back();
    void Apply();
    void Undo();
    void Stop();
    // The search's done message. True when a close was waiting for it: the window
    // goes now.
    bool SearchDone();
    // A close request. True when the window may go now; during a search the search
    // is stopped and the close waits for its end.
    bool Close();

    // The row proposed for a hit of the search, or null when it proposes nothing.
    std::unique_ptr<ResultRow> RowFor(std::unique_ptr<SearchHit> hit) const;

private:
    void Enter(WizardState target);
    void Show();

    WizardView& view_;
    RegistrySearch& search_;
    RegistryAccess access_;
    WizardMessages messages_;
    WizardMachine machine_;
    bool running_ = false;
    bool closePending_ = false;
};

} // namespace keywright
