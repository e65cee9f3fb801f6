// LocateValue over the value list.
#include "host/ValueLocator.h"

#include "host/AsciiCase.h"

namespace keywright {

bool LocateValue(ValueList& list, const std::string& name, DebugLog* log) {
    if (log)
        log->Write("Locating value : " + name + " ... ", false);
    bool found = false;
    int count = list.ItemCount();
    for (int i = 0; i < count; ++i) {
        if (!EqualsNoCase(list.ItemText(i), name)) {
            list.SetSelected(i, false);
            continue;
        }
        list.EnsureVisible(i);
        list.SetSelected(i, true);
        LogLine(log, "found.");
        found = true;
    }
    if (!found)
        LogLine(log, "not found.");
    return found;
}

} // namespace keywright
