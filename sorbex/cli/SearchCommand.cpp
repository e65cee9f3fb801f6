// The search, replace and list commands of the front end: one run, printed as a result page.
#include "cli/SearchCommand.h"

#include <ctime>
#include <istream>
#include <memory>

#include "cli/CacheCommand.h"
#include "cli/CliArguments.h"
#include "cli/CliReplaceUi.h"
#include "cli/Cp1252.h"
#include "cli/ResultFileCommands.h"
#include "cli/UndoCommand.h"
#include "platform/Clock.h"
#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "search/ReplacePassages.h"
#include "search/ResultDocument.h"
#include "search/SearchController.h"
#include "search/SearchWorkers.h"
#include "cache/DocCache.h"
#include "text/TextConverterList.h"
#include "undo/UndoJournal.h"

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

std::string UndoFolder(const CCliTerminal& terminal, kestrix::FileSystem& fs) {
    return terminal.undoFolder.empty() ? DefaultUndoFolder(fs) : terminal.undoFolder;
}

// Asks whether to replace without undo; standard input that is no terminal cannot
// answer, and the replacement is then refused (`refused`) unless --no-undo was given.
bool ReplaceWithoutUndo(const std::string& question, std::ostream& err,
                        const CCliTerminal& terminal, bool& refused) {
    if (!terminal.answersInteractive || !terminal.answers) {
        err << "sorbex: " << question << "\n"
            << "sorbex: standard input is not a terminal, so nobody can be asked; give "
               "--no-undo to replace without undo\n";
        refused = true;
        return false;
    }
    err << question << " [y/N] ";
    err.flush();
    std::string answer;
    if (!std::getline(*terminal.answers, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes";
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
    if (options.undo) {
        const std::unique_ptr<kestrix::FileSystem> fileSystem = kestrix::MakeSystemFileSystem();
        return RunUndoCommand(options, out, err, *fileSystem, UndoFolder(terminal, *fileSystem));
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
    bool undoDeclined = false; // the user would not replace without undo
    bool undoRefused = false;  // nobody could be asked
    std::unique_ptr<CUndoRecorder> undo;
    run.startReplacement = [&](CFileFindDoc& page, std::size_t startIndex) {
        out.flush();
        if (terminal.beforeReplacing)
            terminal.beforeReplacing();
        if (!options.noUndo) {
            const std::string question =
                PrepareUndoJournal(*fileSystem, UndoFolder(terminal, *fileSystem),
                                   terminal.undoLimits, page.results,
                                   static_cast<std::int64_t>(std::time(nullptr)), undo);
            if (!question.empty() && !ReplaceWithoutUndo(question, err, terminal, undoRefused)) {
                undoDeclined = true;
                return;
            }
            if (undo)
                AttachUndoRecorder(context, *undo);
        }
        replaceUi.Attach(page.results, run.flags().quitRequested);
        replaced = ReplacePassages(&page.results, startIndex, request.replaceString, context);
        if (undo)
            undo->End();
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
    if (undoRefused)
        return kExitError;
    if (undoDeclined)
        return kExitNothingFound;
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
