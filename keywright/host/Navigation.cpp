// The steps of one navigation, from location text to selected key and value.
#include "host/Navigation.h"

#include "host/RegLocation.h"
#include "strings/KeywrightStrings.h"

namespace keywright {

std::optional<GotoRequest> MakeGotoRequest(const std::string& location,
                                           const std::string& valueName,
                                           const std::string& rootText, DebugLog* log) {
    LogLine(log, "");
    LogLine(log, "------------------------------------");
    LogLine(log, "Func: GotoURL");
    LogLine(log, location);
    LogLine(log, "");
    if (location.empty())
        return std::nullopt;
    return GotoRequest{location.substr(0, kMaxGotoText), valueName.substr(0, kMaxGotoText),
                       rootText};
}

NavigationResult Navigate(const GotoRequest& request, KeyTree& tree, ValueList& list,
                          NavigationHost& host, DebugLog* log) {
    ResolvedLocation resolved = ResolveLocation(request.location, request.rootText);
    if (!resolved.valid) {
        host.ShowMessage(KeywrightStringWith(kStrInvalidKey, resolved.abbreviation));
        return NavigationResult::kInvalidKey;
    }
    if (!resolved.fullName.empty())
        LogLine(log,
                "Expanding abbreviation : " + resolved.abbreviation + " -> " + resolved.fullName);

    LocateResult located = LocateKeyPath(tree, 0, resolved.path, log);
    if (!located.found) {
        host.ShowMessage(
            KeywrightStringWith(kStrKeyNotFound, NotFoundPath(resolved.path, located.unresolved)));
        return NavigationResult::kKeyNotFound;
    }
    host.FocusTree();
    if (request.valueName.empty())
        return NavigationResult::kDone;

    host.WaitForValueList();
    if (!LocateValue(list, request.valueName, log)) {
        host.ShowMessage(KeywrightStringWith(kStrValueNotFound, request.valueName));
        return NavigationResult::kValueNotFound;
    }
    host.FocusList();
    return NavigationResult::kDone;
}

} // namespace keywright
