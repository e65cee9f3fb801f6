// Back and Forward over the keys the user has selected in the editor.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace keywright {

// Visited full key paths and the current position: `current` counts the paths up to
// and including the current one, so 0 is the empty start. Going back or forward sets
// `navigating`, so that the selection it causes is not recorded again, and numbers
// that navigation in `navigation`.
struct NavigationHistory {
    std::vector<std::string> paths;
    std::size_t current = 0;
    bool navigating = false;
    unsigned navigation = 0;
};

// A selection in the tree. Drops every path after the current one and appends this
// one, unless the selection is the one that Back or Forward asked for.
void RecordSelection(NavigationHistory& history, const std::string& path);

// The path to navigate to, or nothing when there is nowhere to go.
std::optional<std::string> GoBack(NavigationHistory& history);
std::optional<std::string> GoForward(NavigationHistory& history);

// The end of Back or Forward's navigation number `navigation`. A navigation that failed
// or selected the key that was already selected caused no selection, so the flag
// would otherwise swallow the user's next one. A later Back or Forward owns the flag,
// so the end of an earlier one leaves it alone.
void EndNavigation(NavigationHistory& history, unsigned navigation);

// The enabled state of the Back and Forward buttons. Back never returns to the empty
// start, so it needs two paths up to the current one.
inline bool CanGoBack(const NavigationHistory& history) {
    return history.current >= 2;
}
inline bool CanGoForward(const NavigationHistory& history) {
    return history.current < history.paths.size();
}

} // namespace keywright
