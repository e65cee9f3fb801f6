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
// that does not fit stops the walk at once. A row is left as it is (and "Failed")
// where the change would lose something that Undo could not bring back: a new name
// that another key or value of the same parent already has, or data that changed
// since the search read it.
ApplyOutcome ApplyRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows,
                       const WizardMessages& messages);

// Takes back the applied rows ("Yes" with an undo record) from the last to the first;
// each becomes "Undone" or "Undo Failed". Undo records stay, so the rows can be
// applied again. By the same rule as the apply, an old name taken meanwhile, or data
// changed since the apply wrote it, leaves the row as it is ("Undo Failed").
void UndoRows(const RegistryAccess& access, const std::vector<ResultRow*>& rows,
              const WizardMessages& messages);

// Whether some row is applied and carries an undo record.
bool AnyUndoable(const std::vector<ResultRow*>& rows);

} // namespace keywright
