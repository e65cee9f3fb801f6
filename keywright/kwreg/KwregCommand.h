// The `kwreg` command line: checks registry files and shows them as the preview would.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace keywright {

// Exit statuses.
constexpr int kKwregOk = 0;
constexpr int kKwregInvalid = 1;
constexpr int kKwregUsage = 2;

// Runs `kwreg ARGS...` (the words after the program's name) with the files named by
// the arguments, printing to `out` and `err`; returns the exit status.
int RunKwreg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace keywright
