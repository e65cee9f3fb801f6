// The command line of the sorbex front end.
#include "cli/CliArguments.h"

#include <string>

#include "text/TextEncoding.h"

namespace sorbex {

const char* const kCliUsage =
    "Usage: sorbex search EXPRESSION [OPTION]...\n"
    "  or:  sorbex replace EXPRESSION --with=TEXT [--tag=N] [--all] [OPTION]...\n"
    "  or:  sorbex list [OPTION]...\n"
    "  or:  sorbex show FILE.sbx [--page=N]\n"
    "  or:  sorbex cache compact | sorbex cache delete [--yes]\n"
    "  or:  sorbex undo [--list]\n"
    "Search the files below each DIR for the passages that match EXPRESSION and\n"
    "print them as a result page reads: a line for each file (name, size, date,\n"
    "directory), then one line for each passage with its byte offsets.\n"
    "With an empty EXPRESSION, or with 'list', print the matching files only.\n"
    "With 'replace', search the same way, then replace each passage found by\n"
    "TEXT, asking for each one (yes, no, all, cancel) on the terminal.\n"
    "\n"
    "EXPRESSION combines regular expressions with the operators\n"
    "  a&b     a and b both occur         a&20b   a within 20 bytes of b\n"
    "  a&!b    a occurs, b does not       (...)   grouping\n"
    "and \\& \\! \\( \\) for the characters themselves.\n"
    "\n"
    "  -d, --directory=DIR   search below DIR (may be repeated; default: .)\n"
    "  -m, --mask=MASK       only files whose name matches MASK, where * is any\n"
    "                          text and ? one character or none (may be repeated,\n"
    "                          or MASK may be 'A | B'; default: *)\n"
    "      --no-subdirs      do not descend into subdirectories\n"
    "      --case            match case (default: ASCII letters and umlauts fold)\n"
    "      --words           match whole words only\n"
    "      --phonetic        the operands are words found by their sound (Meier\n"
    "                          finds Mayer) instead of regular expressions;\n"
    "                          --case has no effect\n"
    "      --no-internal-filter  search HTML and RTF files as they are stored, tags\n"
    "                          and control words included\n"
    "      --no-external-filter  use neither the registered word-processor text\n"
    "                          converters nor the cache of their texts\n"
    "      --encoding=ENC    how the bytes of text files are read: auto (default:\n"
    "                          a byte-order mark, else UTF-8 when the file is\n"
    "                          valid UTF-8, else Windows-1252), ansi, utf-8,\n"
    "                          utf-16le or utf-16be\n"
    "  -j, --threads=N       read and search N files at once (default: one per\n"
    "                          processor; 1 searches them one after another); the\n"
    "                          results and their order are the same\n"
    "      --with=TEXT       (replace) the replacement text; may be empty\n"
    "      --tag=N           (replace) replace only what the N-th parenthesized\n"
    "                          subexpression matched, 1 to 5 (default: 0, the\n"
    "                          whole passage)\n"
    "      --all             (replace) replace every passage without asking;\n"
    "                          required when standard input is not a terminal\n"
    "      --no-undo         (replace) keep no copy of the files for 'undo'\n"
    "      --save=FILE.sbx   (search, list) add the results as a new page to the\n"
    "                          result file FILE.sbx, creating it when missing\n"
    "      --page=N          (show) print the results of page N (from 1) as a\n"
    "                          search prints them; without it, list the pages\n"
    "      --yes             (cache delete) delete without asking; required when\n"
    "                          standard input is not a terminal\n"
    "      --list            (undo) name the files that would be put back and\n"
    "                          those changed since, and change nothing\n"
    "      --help            display this help and exit\n"
    "\n"
    "'cache compact' removes the texts of files that are gone or changed from the\n"
    "cache of converted documents and gives the space back; 'cache delete'\n"
    "deletes the cache (the next search builds it again).\n"
    "\n"
    "'replace' keeps the old content of every file it rewrites in an undo journal\n"
    "beside the cache (the last 5 replacements, at most 100 MB; a replacement whose\n"
    "files hold more asks first). 'undo' puts back every file of the last\n"
    "replacement that is still as the replacement left it, and names the files\n"
    "changed since, which it leaves alone; run it again to finish an undo that\n"
    "failed part way, or to undo the replacement before.\n"
    "\n"
    "Passages are highlighted on a terminal and marked [[like this]] otherwise.\n"
    "Progress goes to standard error on a terminal; Ctrl+C cancels the search\n"
    "and still prints what was found. During 'replace', Ctrl+C or answering\n"
    "[c]ancel stops at once: the passages accepted before it are written, no\n"
    "more.\n"
    "\n"
    "Exit status is 0 if something was found (replaced, for 'replace'; every file\n"
    "put back, for 'undo'), 1 if nothing was (nothing to undo, for 'undo'), 2 if\n"
    "an error occurred (a file or folder that could not be read, or written by\n"
    "'replace' or 'undo', or a file changed since the replacement, counts as\n"
    "one), 130 if the search or the replacement was cancelled.\n";

namespace {

// The value of `--name=VALUE` or `--name VALUE` / `-n VALUE`; false when `arg` is
// not the option.
bool TakeValue(const std::string& arg, const char* shortName, const char* longName,
               const std::vector<std::string>& args, std::size_t& i, std::string& value,
               std::string& problem) {
    const std::string longPrefix = std::string(longName) + "=";
    if (arg.compare(0, longPrefix.size(), longPrefix) == 0) {
        value = arg.substr(longPrefix.size());
        return true;
    }
    if (arg != shortName && arg != longName)
        return false;
    if (i + 1 >= args.size()) {
        problem = "option '" + arg + "' requires an argument";
        return true;
    }
    value = args[++i];
    return true;
}

// `show FILE [--page N]`.
std::string ParseShowArguments(const std::vector<std::string>& args, CliOptions& options) {
    options.show = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string value;
        std::string problem;
        if (TakeValue(arg, "", "--page", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            std::size_t number = 0;
            for (char c : value) {
                if (c < '0' || c > '9' || number > 100000000)
                    return "invalid page number '" + value + "'";
                number = number * 10 + static_cast<std::size_t>(c - '0');
            }
            if (number == 0)
                return "invalid page number '" + value + "'";
            options.page = number;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unrecognized option '" + arg + "'";
        } else if (!options.resultFile.empty()) {
            return "more than one result file ('" + options.resultFile + "', '" + arg + "')";
        } else {
            options.resultFile = arg;
        }
    }
    if (options.resultFile.empty())
        return "no result file given";
    return "";
}

// `cache compact` or `cache delete [--yes]`.
std::string ParseCacheArguments(const std::vector<std::string>& args, CliOptions& options) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--yes") {
            options.yes = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return "unrecognized option '" + arg + "'";
        } else if (!options.cacheCommand.empty()) {
            return "more than one cache command ('" + options.cacheCommand + "', '" + arg + "')";
        } else if (arg == "compact" || arg == "delete") {
            options.cacheCommand = arg;
        } else {
            return "unknown cache command '" + arg + "' (compact or delete)";
        }
    }
    if (options.cacheCommand.empty())
        return "no cache command given (compact or delete)";
    if (options.yes && options.cacheCommand != "delete")
        return "option '--yes' belongs to 'cache delete'";
    return "";
}

// `undo [--list]`.
std::string ParseUndoArguments(const std::vector<std::string>& args, CliOptions& options) {
    options.undo = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] != "--list")
            return args[i].size() > 1 && args[i][0] == '-'
                       ? "unrecognized option '" + args[i] + "'"
                       : "'undo' takes no argument ('" + args[i] + "')";
        options.undoList = true;
    }
    return "";
}

} // namespace

std::string ParseCliArguments(const std::vector<std::string>& args, CliOptions& options) {
    options = CliOptions();
    for (const std::string& arg : args) {
        if (arg == "--")
            break;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return "";
        }
    }
    if (args.empty())
        return "no command given";
    if (args[0] == "show")
        return ParseShowArguments(args, options);
    if (args[0] == "cache")
        return ParseCacheArguments(args, options);
    if (args[0] == "undo")
        return ParseUndoArguments(args, options);
    const bool listing = args[0] == "list";
    options.replace = args[0] == "replace";
    if (args[0] != "search" && !listing && !options.replace)
        return "unknown command '" + args[0] + "'";

    bool haveExpression = listing;
    bool haveReplacement = false;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        std::string value;
        std::string problem;
        if (!isOption) {
            if (haveExpression)
                return listing ? "'list' takes no expression ('" + arg + "')"
                               : "more than one expression ('" + options.expression + "', '" + arg +
                                     "')";
            options.expression = arg;
            haveExpression = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (TakeValue(arg, "-d", "--directory", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            options.directories.push_back(value);
        } else if (TakeValue(arg, "-m", "--mask", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            options.masks.push_back(value);
        } else if (TakeValue(arg, "", "--encoding", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            if (!ParseEncodingChoice(value, options.encoding))
                return "invalid encoding '" + value + "' (auto, ansi, utf-8, utf-16le or utf-16be)";
        } else if (options.replace && TakeValue(arg, "", "--with", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            options.replacement = value;
            haveReplacement = true;
        } else if (options.replace && TakeValue(arg, "", "--tag", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            if (value.size() != 1 || value[0] < '0' || value[0] > '5')
                return "invalid tag '" + value + "' (0 to 5)";
            options.replaceTag = value[0] - '0';
        } else if (!options.replace && TakeValue(arg, "", "--save", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            if (value.empty())
                return "no result file given (--save=FILE.sbx)";
            options.saveFile = value;
        } else if (TakeValue(arg, "-j", "--threads", args, i, value, problem)) {
            if (!problem.empty())
                return problem;
            if (value.empty() || value.size() > 3 ||
                value.find_first_not_of("0123456789") != std::string::npos ||
                std::stoi(value) < 1)
                return "invalid thread count '" + value + "' (1 to 999)";
            options.threads = std::stoi(value);
        } else if (options.replace && arg == "--all") {
            options.replaceAll = true;
        } else if (options.replace && arg == "--no-undo") {
            options.noUndo = true;
        } else if (arg == "--no-subdirs") {
            options.withSubdirectories = false;
        } else if (arg == "--case") {
            options.matchCase = true;
        } else if (arg == "--words") {
            options.wholeWords = true;
        } else if (arg == "--phonetic") {
            options.phonetic = true;
        } else if (arg == "--no-internal-filter") {
            options.internalFilter = false;
        } else if (arg == "--no-external-filter") {
            options.externalFilter = false;
        } else {
            return "unrecognized option '" + arg + "'";
        }
    }
    if (!haveExpression)
        return "no search expression given";
    if (options.replace && options.expression.empty())
        return "no search expression given";
    if (options.replace && !haveReplacement)
        return "no replacement text given (--with=TEXT)";
    if (options.directories.empty())
        options.directories.push_back(".");
    if (options.masks.empty())
        options.masks.push_back("*");
    return "";
}

} // namespace sorbex
