// Splitting the "|"-separated lists of file masks and directories.
#include "search/SplitList.h"

namespace sorbex {

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t bar = text.find('|', pos);
        if (bar == std::string::npos)
            bar = text.size();
        std::size_t first = pos;
        std::size_t last = bar;
        while (first < last && text[first] == ' ')
            ++first;
        while (last > first && text[last - 1] == ' ')
            --last;
        if (last > first)
            items.push_back(text.substr(first, last - first));
        pos = bar + 1;
    }
    return items;
}

} // namespace sorbex
