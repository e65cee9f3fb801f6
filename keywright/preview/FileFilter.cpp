// The filter list of the preview's open-file dialog.
#include "preview/FileFilter.h"

#include <algorithm>

namespace keywright {

std::optional<std::string> OpenFileFilter(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    std::string filter(text.substr(1));
    std::replace(filter.begin(), filter.end(), text.front(), '\0');
    // The dialog reads pairs up to an empty one: the list must end in two zero bytes
    // even when the text forgot its closing separators.
    filter.append(2, '\0');
    return filter;
}

} // namespace keywright
