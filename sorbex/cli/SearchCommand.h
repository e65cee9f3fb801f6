// The search command of the front end: walks directories and prints what it finds.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sorbex {

constexpr int kExitFound = 0;
constexpr int kExitNothingFound = 1;
constexpr int kExitError = 2;

// Runs the command line `args` (without the program name), printing results to `out`
// and errors to `err`; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace sorbex
