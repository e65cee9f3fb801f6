// The search and list commands of the front end: one search run, printed as a result page.
#include "cli/SearchCommand.h"

#include <memory>

#include "cli/CliArguments.h"
#include "cli/Cp1252.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "search/ResultDocument.h"
#include "search/SearchController.h"

namespace sorbex {
namespace {

// Windows hands the program its arguments in the ANSI code page, which for the texts
// searched is Windows-1252. Elsewhere terminals speak UTF-8; an expression with a
// character the code page lacks is searched for as its bytes.
std::string ExpressionFromTerminal(const std::string& arg) {
#ifdef _WIN32
    return arg;
#else
    std::string converted;
    return Utf8ToCp1252(arg, converted) ? converted : arg;
#endif
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : " | ") + item;
    return text;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CCliTerminal& terminal) {
    CliOptions options;
    const std::string usageError = ParseCliArguments(args, options);
    if (options.help) {
        out << kCliUsage;
        return kExitFound;
    }
    if (!usageError.empty()) {
        err << "sorbex: " << usageError << "\n"
            << "Try 'sorbex --help' for more information.\n";
        return kExitError;
    }

    CSearchRequest request;
    request.expression = ExpressionFromTerminal(options.expression);
    request.fileMask = JoinList(options.masks);
    request.directory = JoinList(options.directories);
    request.withSubDirectories = options.withSubdirectories ? 1 : 0;
    request.matchCase = options.matchCase ? 1 : 0;
    request.matchWholeWords = options.wholeWords ? 1 : 0;
    request.searchMethod = options.phonetic ? 1 : 0;
    // Only the plain text path exists so far.
    request.useInternalFilter = 0;
    request.useExternalFilter = 0;

    const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
    const std::unique_ptr<kestrix::Clock> clock = kestrix::MakeSteadyClock();
    CCliSearchUi ui(out, err, terminal);
    CResultDocument document;
    CSearchController run(*fileSystem, *clock, ui, document);
    const CRunOutcome outcome = run.StartSearching(request);
    out.flush();

    if (ui.errorShown())
        return kExitError;
    if (run.cancelRequested)
        return kExitCancelled;
    const bool found = outcome.page && !outcome.page->results.empty();
    return found ? kExitFound : kExitNothingFound;
}

} // namespace sorbex
