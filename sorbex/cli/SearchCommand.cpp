// The search, replace and list commands of the front end: one run, printed as a result page.
#include "cli/SearchCommand.h"

#include <memory>

#include "cli/CacheCommand.h"
#include "cli/CliArguments.h"
#include "cli/CliReplaceUi.h"
#include "cli/Cp1252.h"
#include "cli/ResultFileCommands.h"
#include "platform/Clock.h"
#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "search/ReplacePassages.h"
#include "search/ResultDocument.h"
#include "search/SearchController.h"
#include "search/SearchWorkers.h"
#include "cache/DocCache.h"
#include "text/TextConverterList.h"

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

// The replacement as characters when the terminal gave some that the code page lacks:
// UTF-8 and UTF-16 files can hold them. On Windows the arguments are in the code page.
bool ReplacementCharacters(const std::string& arg, std::u32string& characters) {
#ifdef _WIN32
    static_cast<void>(arg);
    static_cast<void>(characters);
    return false;
#else
    characters.clear();
    std::string converted;
    if (Utf8ToCp1252(arg, converted))
        return false;
    for (std::size_t i = 0; i < arg.size();) {
        char32_t c = 0;
        if (!DecodeUtf8Character(arg, i, c))
            return false;
        characters.push_back(c);
    }
    return true;
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
    if (options.show)
        return RunShow(options, out, err, terminal);
    if (!options.cacheCommand.empty()) {
        const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
        return RunCacheCommand(options, out, err, terminal, *fileSystem,
                               kestrix::SystemCompoundFiles());
    }
    if (options.replace && !options.replaceAll && !terminal.answersInteractive) {
        err << "sorbex: standard input is not a terminal, so nobody can be asked about each "
               "passage; give --all to replace them all without asking\n";
        return kExitError;
    }

    CSearchRequest request;
    request.expression = ExpressionFromTerminal(options.expression);
    request.fileMask = JoinList(options.masks);
    request.directory = JoinList(options.directories);
    request.withSubDirectories = options.withSubdirectories;
    request.matchCase = options.matchCase;
    request.matchWholeWords = options.wholeWords;
    request.searchMethod = options.phonetic ? CSearchMethod::Phonetic : CSearchMethod::Standard;
    request.useInternalFilter = options.internalFilter;
    request.useExternalFilter = options.externalFilter;
    if (options.replace) {
        request.replaceMode = true;
        request.replaceString = ExpressionFromTerminal(options.replacement);
        request.replaceTag = options.replaceTag;
    }
    request.encoding = options.encoding;

    const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
    const std::unique_ptr<kestrix::Clock> clock = kestrix::MakeSteadyClock();
    CCliSearchUi ui(out, err, terminal);
    CResultDocument document;
    CSearchController run(*fileSystem, *clock, ui, document);
    run.SetSearchThreads(options.threads > 0 ? options.threads : DefaultSearchThreads());

    // What the program builds at start: the registered converters and the cache of
    // their texts. Without the external filter neither is touched. A cache that
    // cannot be opened (another instance holds it) only makes the search slower.
    const std::unique_ptr<CConverterLoader> converterLoader = MakeSystemConverterLoader();
    CTextConverterList converters;
    CDocCache cache(*fileSystem, kestrix::SystemCompoundFiles());
    if (options.externalFilter) {
        converterLoader->SetFailureHandler(run.ConverterFailureHandler());
        BuildSystemConverterList(converters, *converterLoader, *fileSystem);
        run.loader().SetConverters(&converters);
        if (cache.Open())
            run.loader().SetCache(&cache);
    }

    CMemoryProfile profile;
    CCliReplaceUi replaceUi(err, terminal);
    if (options.replaceAll)
        replaceUi.AnswerAll();
    CReplaceContext context{replaceUi, profile, *fileSystem, run.flags()};
    std::u32string replacementCharacters;
    context.encoding.choice = options.encoding;
    if (options.replace && ReplacementCharacters(options.replacement, replacementCharacters))
        context.encoding.characters = &replacementCharacters;
    CReplaceOutcome replaced;
    bool walked = false;
    run.startReplacement = [&](CFileFindDoc& page, std::size_t startIndex) {
        out.flush();
        if (terminal.beforeReplacing)
            terminal.beforeReplacing();
        replaceUi.Attach(page.results, run.flags().quitRequested);
        replaced = ReplacePassages(&page.results, startIndex, request.replaceString, context);
        walked = true;
    };

    const CRunOutcome outcome = run.StartSearching(request);
    if (walked)
        out << FormatReplaceReport(replaceUi.replacedFiles(), replaced);
    out.flush();

    if (ui.errorShown())
        return kExitError;
    // A cancelled run's page holds what was found until then, and is saved as such.
    if (!options.saveFile.empty() && outcome.page) {
        CCliStorageUi storageUi(err, false, options.saveFile);
        if (!SavePageToResultFile(*outcome.page, options.saveFile, *fileSystem,
                                  kestrix::SystemCompoundFiles(), storageUi))
            return kExitError;
    }
    if (run.flags().cancelRequested || replaceUi.userCancelled())
        return kExitCancelled;
    // Results without all the files are no answer to "is it there?".
    if (ui.skippedReported())
        return kExitError;
    if (options.replace) {
        // A passage that could not be written is a failure, whatever else was replaced.
        if (replaced.writeFailed > 0 || replaced.readFailed > 0 || replaced.unencodable > 0)
            return kExitError;
        return replaced.replaced > 0 ? kExitFound : kExitNothingFound;
    }
    const bool found = outcome.page && !outcome.page->results.empty();
    return found ? kExitFound : kExitNothingFound;
}

} // namespace sorbex
