// The apply and undo walks over the wizard's rows.
#include "wizard/ApplyUndo.h"

#include "host/AsciiCase.h"
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

std::string ValuePlace(const std::string& keyPath, const std::string& valueName) {
    return keyPath + ":" + valueName;
}

bool ValueExists(const RegistryAccess& access, const std::string& keyPath,
                 const std::string& valueName) {
    std::uint32_t type = 0;
    std::string data;
    return ReadValueAt(access, keyPath, valueName, &type, &data) == kestrix::kErrorSuccess;
}

// Renaming onto a name that is taken would merge two keys or overwrite a value, and
// neither could then be undone; a rename that changes the case only is no such case.
bool KeyNameTaken(const RegistryAccess& access, const std::string& oldPath,
                  const std::string& newPath, const WizardMessages& messages) {
    if (EqualsNoCase(KeyNameOf(oldPath), KeyNameOf(newPath)) || !KeyExistsAt(access, newPath))
        return false;
    Show(messages.owned, TextWithTwo(kStrNameTaken, oldPath, newPath));
    return true;
}

bool ValueNameTaken(const RegistryAccess& access, const std::string& keyPath,
                    const std::string& oldName, const std::string& newName,
                    const WizardMessages& messages) {
    if (EqualsNoCase(oldName, newName) || !ValueExists(access, keyPath, newName))
        return false;
    Show(messages.owned, TextWithTwo(kStrNameTaken, ValuePlace(keyPath, oldName),
                                     ValuePlace(keyPath, newName)));
    return true;
}

// Whether the value still holds `type` and `data`; if not, says so with `message`.
bool ValueHolds(const RegistryAccess& access, const SearchHit& hit, std::uint32_t type,
                std::string_view data, unsigned message, const WizardMessages& messages) {
    std::uint32_t currentType = 0;
    std::string current;
    if (ReadValueAt(access, hit.keyPath, hit.valueName, &currentType, &current) ==
            kestrix::kErrorSuccess &&
        currentType == type && current == data)
        return true;
    Show(messages.owned, KeywrightStringWith(message, ValuePlace(hit.keyPath, hit.valueName)));
    return false;
}

std::string_view HitData(const SearchHit& hit) {
    return std::string_view(reinterpret_cast<const char*>(hit.data.data()), hit.data.size());
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
    std::string newPath = std::string(ParentPathOf(hit.keyPath)) + name.text;
    if (KeyNameTaken(access, hit.keyPath, newPath, messages) ||
        !RenameKey(access, hit.keyPath, name.text))
        return RowResult::Failed;
    row.undo = UndoRecord{kUndoKeyRenamed, newPath, oldName, {}, {}};
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
    if (ValueNameTaken(access, hit.keyPath, hit.valueName, name.text, messages))
        return RowResult::Failed;
    if (!RenameValue(access, hit.keyPath, hit.valueName, name.text)) {
        Show(messages.owned, TextWithTwo(kStrRenameValueFailed, hit.keyPath, hit.valueName));
        return RowResult::Failed;
    }
    row.undo = UndoRecord{kUndoValueRenamed, {}, hit.valueName, name.text, {}};
    return RowResult::Applied;
}

RowResult ApplyData(const RegistryAccess& access, ResultRow& row, const WizardMessages& messages) {
    const SearchHit& hit = *row.hit;
    // The new data is made from what the search read: a value changed since then
    // would lose that change.
    if (!ValueHolds(access, hit, hit.type, HitData(hit), kStrDataChangedSinceSearch, messages))
        return RowResult::Failed;
    std::string written;
    if (!ReplaceInData(access, hit.keyPath, hit.valueName, hit.type,
                       static_cast<std::uint32_t>(hit.data.size()), hit.data.data(),
                       hit.searchText, hit.replacementText, hit.matchCase, hit.wholeString,
                       &written)) {
        Show(messages.owned, TextWithTwo(kStrReplaceDataFailed, hit.keyPath, hit.valueName));
        return RowResult::Failed;
    }
    row.undo = UndoRecord{kUndoDataReplaced, {}, {}, {}, std::move(written)};
    return RowResult::Applied;
}

bool UndoRow(const RegistryAccess& access, const ResultRow& row, const WizardMessages& messages) {
    const SearchHit& hit = *row.hit;
    const UndoRecord& undo = *row.undo;
    switch (undo.kind) {
    case kUndoKeyRenamed: {
        std::string oldPath = std::string(ParentPathOf(undo.newKeyPath)) + undo.oldName;
        return !KeyNameTaken(access, undo.newKeyPath, oldPath, messages) &&
               RenameKey(access, undo.newKeyPath, undo.oldName) != 0;
    }
    case kUndoValueRenamed:
        return !ValueNameTaken(access, hit.keyPath, undo.newName, undo.oldName, messages) &&
               RenameValue(access, hit.keyPath, undo.newName, undo.oldName) != 0;
    case kUndoDataReplaced:
        return ValueHolds(access, hit, hit.type, undo.newData, kStrDataChangedSinceApply,
                          messages) &&
               WriteValue(access, hit.keyPath, hit.valueName, hit.type, hit.data.data(),
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

void UndoRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows,
              const WizardMessages& messages) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        ResultRow* row = *it;
        // Only what the last apply changed: a row undone before, or one that an apply
        // stopped before reaching, is left alone.
        if (!row || !row->hit || !row->undo || row->applied != AppliedState::Yes)
            continue;
        row->applied =
            UndoRow(access, *row, messages) ? AppliedState::Undone : AppliedState::UndoFailed;
    }
}

bool AnyUndoable(const std::vector<ResultRow*>& rows) {
    for (const ResultRow* row : rows)
        if (row && row->undo && row->applied == AppliedState::Yes)
            return true;
    return false;
}

} // namespace keywright
