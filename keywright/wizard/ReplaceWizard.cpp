// The wizard's steps over its view.
#include "wizard/ReplaceWizard.h"

#include "strings/KeywrightStrings.h"

namespace keywright {

void LoadSearch(const WizardCriteria& c, RegistrySearch& search) {
    search.searchText = c.findText;
    search.replacementText = c.replacementText;
    search.searchKeys = c.keys;
    search.searchValues = c.values;
    search.searchData = c.data;
    search.matchCase = c.matchCase;
    search.wholeString = c.wholeString;
    search.wholeRegistry = c.wholeRegistry;
    search.hkcr = c.hkcr;
    search.hkcu = c.hkcu;
    search.hklm = c.hklm;
    search.hku = c.hku;
    search.hkcc = c.hkcc;
    search.hkdd = c.hkdd;
    search.suppressHkcu = search.suppressHkcr = search.suppressHkcc = true;
    search.currentUserOnly = false;
}

ReplaceWizard::ReplaceWizard(WizardView& view, RegistrySearch& search, RegistryAccess access,
                             WizardMessages messages)
    : view_(view), search_(search), access_(std::move(access)), messages_(std::move(messages)) {}

void ReplaceWizard::Open() {
    Show();
}

void ReplaceWizard::Show() {
    view_.ShowState(machine_.state(), ScreenOf(machine_.state()));
}

void ReplaceWizard::Enter(WizardState target) {
    WizardCriteria criteria = view_.ReadCriteria();
    EntryFacts facts{running_, criteria.findText, criteria.replacementText};
    if (unsigned refusal = machine_.ChangeState(target, facts)) {
        view_.ShowMessage(KeywrightString(refusal));
        return;
    }
    Show();
    if (target != kStateSearch)
        return;
    LoadSearch(criteria, search_);
    view_.ClearResults();
    running_ = view_.StartSearch(search_);
    view_.ShowRunning(running_);
}

void ReplaceWizard::Next() {
    if (auto target = machine_.NextTarget())
        Enter(*target);
}

void ReplaceWizard::Back() {
    if (auto target = machine_.BackTarget())
        Enter(*target);
}

void ReplaceWizard::Apply() {
    const WizardState current = machine_.state();
    if (current != kStateReady && current != kStateUndone)
        return;
    ApplyOutcome outcome = ApplyRows(access_, view_.Rows(), messages_);
    view_.ShowApplied();
    WizardState next = StateAfterApply(current, outcome.stopped, outcome.anyUndoable);
    if (next == current)
        return;
    Enter(next);
    view_.RefreshEditor();
}

void ReplaceWizard::Undo() {
    if (machine_.state() != kStateApplied)
        return;
    UndoRows(access_, view_.Rows(), messages_);
    view_.ShowApplied();
    Enter(kStateUndone);
    view_.RefreshEditor();
}

void ReplaceWizard::Stop() {
    if (running_)
        keywright::Stop(search_);
}

bool ReplaceWizard::SearchDone() {
    running_ = false;
    view_.ShowRunning(false);
    return closePending_;
}

bool ReplaceWizard::Close() {
    if (!running_)
        return true;
    keywright::Stop(search_);
    closePending_ = true;
    return false;
}

std::unique_ptr<ResultRow> ReplaceWizard::RowFor(std::unique_ptr<SearchHit> hit) const {
    return MakeResultRow(std::move(hit), messages_);
}

} // namespace keywright
