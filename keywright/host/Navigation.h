// One navigation of the editor to a location: the work of GotoURL's thread, apart
// from the thread itself and the windows it drives.
#pragma once

#include "host/DebugLog.h"
#include "host/KeyPathLocator.h"
#include "host/ValueLocator.h"

#include <optional>
#include <string>

namespace keywright {

// Location texts and value names are cut to this many characters.
constexpr std::size_t kMaxGotoText = 511;

struct GotoRequest {
    std::string location;
    std::string valueName; // empty: no value
    std::string rootText;  // the text of the tree's root item
};

// What a navigation needs of the editor besides its tree and list.
class NavigationHost {
public:
    virtual ~NavigationHost() = default;
    // A message box owned by the active window, captioned with the editor's name.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void FocusTree() = 0;
    virtual void FocusList() = 0;
    // Gives the editor time to fill its list after a key was selected.
    virtual void WaitForValueList() = 0;
};

enum class NavigationResult { kDone, kInvalidKey, kKeyNotFound, kValueNotFound };

// Logs the request and builds it, cut to size; nothing when the location is empty.
std::optional<GotoRequest> MakeGotoRequest(const std::string& location,
                                           const std::string& valueName,
                                           const std::string& rootText, DebugLog* log);

// Resolves the location, selects the key and, if one is named, the value; reports
// failures to the user through `host`.
NavigationResult Navigate(const GotoRequest& request, KeyTree& tree, ValueList& list,
                          NavigationHost& host, DebugLog* log);

} // namespace keywright
