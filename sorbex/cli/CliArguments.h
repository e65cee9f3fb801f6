// The command line of the sorbex front end.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/TextEncoding.h"

namespace sorbex {

struct CliOptions {
    bool help = false;
    std::string expression;               // empty: list the files
    std::vector<std::string> directories; // "." when none is given
    std::vector<std::string> masks;       // "*" when none is given
    bool withSubdirectories = true;
    bool matchCase = false;
    bool wholeWords = false;
    bool phonetic = false;      // operands are words found by their sound, not regular expressions
    bool internalFilter = true; // HTML and RTF files are searched as the text they show
    bool externalFilter = true; // registered text converters and the document cache are used
    CEncodingChoice encoding = CEncodingChoice::Auto; // how text files' bytes are read
    int threads = 0;            // files read and searched at once; 0: one per processor

    // `sorbex replace`: the passages found are replaced by `replacement`.
    bool replace = false;
    std::string replacement;
    int replaceTag = 0;      // 0 the whole match, 1 to 5 that subexpression
    bool replaceAll = false; // replace without asking
    bool noUndo = false;     // keep no undo journal of the replacement

    // `search` and `list`: the run's page is added to this result file (*.sbx).
    std::string saveFile;
    // `sorbex show FILE [--page N]`: the pages of a result file, or page N from 1.
    bool show = false;
    std::string resultFile;
    std::size_t page = 0; // 0: list the pages

    // `sorbex cache compact` or `sorbex cache delete [--yes]`: the converted-document cache.
    std::string cacheCommand;
    bool yes = false; // answers the question before deleting

    // `sorbex undo [--list]`: the files of the last replacement are put back (or listed).
    bool undo = false;
    bool undoList = false;
};

// Reads `sorbex search EXPR [options]`, `sorbex replace EXPR --with TEXT [options]`,
// `sorbex list [options]`, `sorbex show FILE [--page N]`, `sorbex cache compact`,
// `sorbex cache delete [--yes]`, `sorbex undo [--list]` or `--help` (the program name not included). Returns "" or what is wrong with the command line.
std::string ParseCliArguments(const std::vector<std::string>& args, CliOptions& options);

extern const char* const kCliUsage;

} // namespace sorbex
