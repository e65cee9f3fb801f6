// Applying the rows to the registry, first to last, and undoing what was applied,
// last to first.
#pragma once

#include "registry/KeyOperations.h"
#include "wizard/ResultRows.h"

#include <vector>

namespace keywright {

struct ApplyOutcome {
    bool stopped = false;     // a new name did not fit: the rows after it were left
    bool anyUndoable = false; // some row now carries changes that Undo takes back
};

// Renames keys and values and replaces data, row by row in list order, so that a
// subkey is renamed while its parent still has its old name. Each row becomes "Yes"
// with an undo record, or "Failed" without one, and the walk goes on; a new name
// that does not fit stops the walk at once.
ApplyOutcome ApplyRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows,
                       const WizardMessages& messages);

// Takes back the applied rows ("Yes" with an undo record) from the last to the first;
// each becomes "Undone" or "Undo Failed". Undo records stay, so the rows can be
// applied again.
void UndoRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows);

// Whether some row is applied and carries an undo record.
bool AnyUndoable(const std::vector<ResultRow*>& rows);

} // namespace keywright
