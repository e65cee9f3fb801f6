// Folding runs of stacked repetition operators in a pattern into the one they equal.
#pragma once

#include <string>

namespace sorbex {

// "a+++" means "a+", "a??" "a?", and any run holding "*" or mixing "+" with "?" means
// "a*". The regular-expression library takes time exponential in the length of such a
// run to compile it (twenty operators take seconds), so a pattern is folded before it
// is compiled; escaped operators and those inside a bracket list stay as they are.
std::string CollapseRepetitionRuns(const std::string& pattern);

} // namespace sorbex
