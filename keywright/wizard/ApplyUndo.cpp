// The apply and undo walks over the wizard's rows.
#include "wizard/ApplyUndo.h"

#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

namespace keywright {

namespace {

// String `id` with its two "%s" replaced by `first` and `second`, neither read as a
// format, so that a "%s" inside a key path stays as it is.
std::string TextWithTwo(unsigned id, const std::string& first, const std::string& second) {
    std::string text = KeywrightString(id);
    std::size_t one = text.find("%s");
    std::size_t two = one == std::string::npos ? one : text.find("%s", one + 2);
    if (two != std::string::npos)
        text.replace(two, 2, second);
    if (one != std::string::npos)
        text.replace(one, 2, first);
    return text;
}

void Show(const ShowText& show, const std::string& text) {
    if (show)
        show(text);
}

enum class RowResult { Applied, Failed, Stop };

RowResult ApplyKey(const RegistryAccess& access, ResultRow& row, const WizardMessages& messages) {
    const SearchHit& hit = *row.hit;
    std::string oldName(KeyNameOf(hit.keyPath));
    Replacement name = ReplaceForHit(hit, oldName, kApplyNameRoom);
    if (!name.fitted) {
        Show(messages.bare, KeywrightString(kStrApplyKeyTooLong));
        return RowResult::Stop;
    }
    if (!RenameKey(access, hit.keyPath, name.text))
        return RowResult::Failed;
    row.undo =
        UndoRecord{kUndoKeyRenamed, std::string(ParentPathOf(hit.keyPath)) + name.text, oldName, {}};
    return RowResult::Applied;
}

RowResult ApplyValue(const RegistryAccess& access, ResultRow& row,
                     const WizardMessages& messages) {
    const SearchHit& hit = *row.hit;
    Replacement name = ReplaceForHit(hit, hit.valueName, kApplyNameRoom);
    if (!name.fitted) {
        Show(messages.bare, KeywrightString(kStrApplyValueTooLong));
        return RowResult::Stop;
    }
    if (!RenameValue(access, hit.keyPath, hit.valueName, name.text)) {
        Show(messages.owned, TextWithTwo(kStrRenameValueFailed, hit.keyPath, hit.valueName));
        return RowResult::Failed;
    }
    row.undo = UndoRecord{kUndoValueRenamed, {}, hit.valueName, name.text};
    return RowResult::Applied;
}

RowResult ApplyData(const RegistryAccess& access, ResultRow& row, const WizardMessages& messages) {
    const SearchHit& hit = *row.hit;
    if (!ReplaceInData(access, hit.keyPath, hit.valueName, hit.type,
                       static_cast<std::uint32_t>(hit.data.size()), hit.data.data(),
                       hit.searchText, hit.replacementText, hit.matchCase)) {
        Show(messages.owned, TextWithTwo(kStrReplaceDataFailed, hit.keyPath, hit.valueName));
        return RowResult::Failed;
    }
    row.undo = UndoRecord{kUndoDataReplaced, {}, {}, {}};
    return RowResult::Applied;
}

bool UndoRow(const RegistryAccess& access, const ResultRow& row) {
    const SearchHit& hit = *row.hit;
    const UndoRecord& undo = *row.undo;
    switch (undo.kind) {
    case kUndoKeyRenamed:
        return RenameKey(access, undo.newKeyPath, undo.oldName) != 0;
    case kUndoValueRenamed:
        return RenameValue(access, hit.keyPath, undo.newName, undo.oldName) != 0;
    case kUndoDataReplaced:
        return WriteValue(access, hit.keyPath, hit.valueName, hit.type, hit.data.data(),
                          static_cast<std::uint32_t>(hit.data.size())) != 0;
    }
    return false;
}

} // namespace

ApplyOutcome ApplyRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows,
                       const WizardMessages& messages) {
    ApplyOutcome outcome;
    for (ResultRow* row : rows) {
        if (!row || !row->hit)
            continue;
        // Applied again (after an undo), a row gets a new record; one that fails this
        // time has nothing left to undo.
        row->undo.reset();
        RowResult result;
        if (row->hit->flags & kHitKeyName)
            result = ApplyKey(access, *row, messages);
        else if (row->hit->flags & kHitValueName)
            result = ApplyValue(access, *row, messages);
        else
            result = ApplyData(access, *row, messages);
        if (result == RowResult::Stop) {
            outcome.stopped = true;
            break;
        }
        row->applied = result == RowResult::Applied ? AppliedState::Yes : AppliedState::Failed;
    }
    outcome.anyUndoable = AnyUndoable(rows);
    return outcome;
}

void UndoRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        ResultRow* row = *it;
        // Only what the last apply changed: a row undone before, or one that an apply
        // stopped before reaching, is left alone.
        if (!row || !row->hit || !row->undo || row->applied != AppliedState::Yes)
            continue;
        row->applied = UndoRow(access, *row) ? AppliedState::Undone : AppliedState::UndoFailed;
    }
}

bool AnyUndoable(const std::vector<ResultRow*>& rows) {
    for (const ResultRow* row : rows)
        if (row && row->undo && row->applied == AppliedState::Yes)
            return true;
    return false;
}

} // namespace keywright
