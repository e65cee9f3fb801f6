// Selecting a value by name in the editor's list of values.
#pragma once

#include "host/DebugLog.h"

#include <string>

namespace keywright {

// What the search needs of the value list; on Windows, the editor's list view.
class ValueList {
public:
    virtual ~ValueList() = default;
    virtual int ItemCount() = 0;
    virtual std::string ItemText(int index) = 0;
    // Selects and focuses the item, or takes both away.
    virtual void SetSelected(int index, bool selected) = 0;
    virtual void EnsureVisible(int index) = 0;
};

// Selects every item named `name` (case-insensitively; the unnamed value is listed
// as "(Default)") and deselects the others. Returns whether any was found.
bool LocateValue(ValueList& list, const std::string& name, DebugLog* log);

} // namespace keywright
