// The Back/Forward list and its navigating flag.
#include "host/NavigationHistory.h"

namespace keywright {

void RecordSelection(NavigationHistory& history, const std::string& path) {
    if (history.navigating) {
        history.navigating = false;
        return;
    }
    history.paths.resize(history.current);
    history.paths.push_back(path);
    history.current = history.paths.size();
}

std::optional<std::string> GoBack(NavigationHistory& history) {
    if (!CanGoBack(history))
        return std::nullopt;
    --history.current;
    history.navigating = true;
    ++history.navigation;
    return history.paths[history.current - 1];
}

std::optional<std::string> GoForward(NavigationHistory& history) {
    if (!CanGoForward(history))
        return std::nullopt;
    ++history.current;
    history.navigating = true;
    ++history.navigation;
    return history.paths[history.current - 1];
}

void EndNavigation(NavigationHistory& history, unsigned navigation) {
    if (navigation == history.navigation)
        history.navigating = false;
}

} // namespace keywright
