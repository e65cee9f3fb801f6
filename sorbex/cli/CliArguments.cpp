// The command line of the sorbex front end.
#include "cli/CliArguments.h"

#include <cstdlib>

namespace sorbex {

const char* const kCliUsage =
    "Usage: sorbex search EXPRESSION [-d DIR]... [--case] [--words] [--tag N]\n"
    "       sorbex --help\n"
    "\n"
    "Searches the files below each DIR (default: the current directory) for the\n"
    "passages that match EXPRESSION, and prints each file that matches with its\n"
    "passages marked as [[...]].\n"
    "\n"
    "EXPRESSION combines regular expressions with the operators\n"
    "  a&b     a and b both occur         a&20b   a within 20 bytes of b\n"
    "  a&!b    a occurs, b does not       (...)   grouping\n"
    "and \\& \\! \\( \\) for the characters themselves.\n"
    "\n"
    "  -d DIR    a directory to search (may be repeated)\n"
    "  --case    match case (default: ASCII letters and umlauts fold)\n"
    "  --words   match whole words only\n"
    "  --tag N   show only the passages of subexpression N (its Nth '(')\n"
    "  --help    show this text\n"
    "\n"
    "Exit status: 0 something found, 1 nothing found, 2 an error.\n";

namespace {

bool ReadCount(const std::string& text, int& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 9) {
        return false;
    }
    value = std::atoi(text.c_str());
    return true;
}

} // namespace

std::string ParseCliArguments(const std::vector<std::string>& args, CliOptions& options) {
    options = CliOptions();
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return "";
        }
    }
    if (args.empty()) {
        return "no command given";
    }
    if (args[0] != "search") {
        return "unknown command '" + args[0] + "'";
    }
    bool haveExpression = false;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (isOption && arg == "--") {
            optionsEnded = true;
        } else if (isOption && (arg == "-d" || arg == "--tag")) {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            const std::string& value = args[++i];
            if (arg == "-d") {
                options.directories.push_back(value);
            } else if (!ReadCount(value, options.tag)) {
                return "--tag needs a number from 0 on, not '" + value + "'";
            }
        } else if (isOption && arg == "--case") {
            options.matchCase = true;
        } else if (isOption && arg == "--words") {
            options.wholeWords = true;
        } else if (isOption) {
            return "unknown option '" + arg + "'";
        } else if (haveExpression) {
            return "more than one expression ('" + options.expression + "', '" + arg + "')";
        } else {
            options.expression = arg;
            haveExpression = true;
        }
    }
    if (!haveExpression) {
        return "no search expression given";
    }
    if (options.directories.empty()) {
        options.directories.push_back(".");
    }
    return "";
}

} // namespace sorbex
