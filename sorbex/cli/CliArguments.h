// The command line of the sorbex front end.
#pragma once

#include <string>
#include <vector>

namespace sorbex {

struct CliOptions {
    bool help = false;
    std::string expression;
    std::vector<std::string> directories; // "." when none is given
    bool matchCase = false;
    bool wholeWords = false;
    int tag = 0; // the subexpression whose passages are shown; 0 for whole matches
};

// Reads `sorbex search EXPR [-d DIR]... [--case] [--words] [--tag N]` or `--help` (the
// program name not included). Returns "" or what is wrong with the command line.
std::string ParseCliArguments(const std::vector<std::string>& args, CliOptions& options);

extern const char* const kCliUsage;

} // namespace sorbex
