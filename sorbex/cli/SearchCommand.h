// The search, replace and list commands of the front end: one run, printed as a result page.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/CliSearchUi.h"

namespace sorbex {

constexpr int kExitFound = 0;
constexpr int kExitNothingFound = 1;
constexpr int kExitError = 2;
constexpr int kExitCancelled = 130; // what shells report for a program ended by Ctrl+C

// Runs the command line `args` (without the program name), printing results to `out`
// and errors and progress to `err`; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CCliTerminal& terminal = CCliTerminal());

} // namespace sorbex
