// Splitting the "|"-separated lists of file masks and directories.
#pragma once

#include <string>
#include <vector>

namespace sorbex {

// Items between "|", without the spaces around them; empty items are dropped.
std::vector<std::string> SplitList(const std::string& text);

} // namespace sorbex
