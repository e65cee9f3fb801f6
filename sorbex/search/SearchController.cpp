// The search run: from a request to a page of results, with the run's state and timing.
#include "search/SearchController.h"

#include <algorithm>

#include "engine/SearchExpression.h"
#include "search/DirectoryCheck.h"
#include "search/RunMessages.h"
#include "search/SearchWorkers.h"
#include "strings/SorbexStrings.h"
#include "text/TextSink.h"

namespace sorbex {
namespace {

CTextLoadOptions TextOptionsOf(const CSearchRequest& request) {
    CTextLoadOptions options;
    options.replaceMode = request.replaceMode;
    options.useInternalFilter = request.useInternalFilter;
    options.useExternalFilter = request.useExternalFilter;
    options.encoding = request.encoding;
    return options;
}

constexpr int kRefreshSmallPage = 50; // results up to which the view refreshes often
constexpr std::uint32_t kRefreshSmallMs = 250;
constexpr std::uint32_t kRefreshLargeMs = 4000;
// Texts up to this size are searched on the run's own thread: the longest take a few
// milliseconds, so the user's messages wait no longer than between two files.
constexpr std::size_t kEvaluatedInPlaceBytes = 256u << 10;

} // namespace

// Building the file list talks to the user through the run, so that its pumping
// honours the run's cancel and quit state.
class CSearchController::CUiBridge : public CFileListUi {
public:
    explicit CUiBridge(CSearchController& run) : run_(run) {}

    bool AskOkCancel(const std::string& text) override { return run_.ui_.AskOkCancel(text); }
    void ShowError(const std::string& text) override { run_.ui_.ShowError(text); }
    void SetStatusText(const std::string& text) override { run_.ui_.SetStatusText(text); }
    void ShowIdleStatus() override { run_.ui_.ShowIdleStatus(); }
    void RememberHistory(const std::string& directoryText, const std::string& maskText) override {
        run_.ui_.RememberHistory(directoryText, maskText);
    }
    void ReportSkipped(const std::string& path, const std::string& message) override {
        run_.ui_.ReportSkipped(path, message);
    }
    void ProcessMessages() override { run_.PumpMessages(); }
    bool CancelRequested() const override { return run_.flags_.cancelRequested; }

private:
    CSearchController& run_;
};

// Receives one file's text from the loader and records its passages.
class CSearchController::CFileSearcher : public CTextSink {
public:
    CFileSearcher(CSearchController& run, CFileFindDoc& page, const CFileEntry& file,
                  bool replaceMode, std::shared_ptr<CCompiledSearch> compiled)
        : run_(run), page_(page), file_(file), replaceMode_(replaceMode),
          compiled_(std::move(compiled)) {}

    void ProcessMessages() override { run_.PumpMessages(); }
    bool CancelRequested() const override { return run_.flags_.cancelRequested; }

    void SetOutsideCharacters(const std::vector<COutsideCharacter>& outside) override {
        outside_ = &outside;
    }

    void SetFileStatus(const kestrix::FileStatus& status) override { status_ = &status; }

    void SearchText(const std::shared_ptr<const std::string>& text, int originFlags) override {
        const int subexpression = replaceMode_ ? run_.replaceTag_ : 0;
        // The work thread evaluates; should the user cancel meanwhile, what it still
        // holds (the text, the compiled expression, the list) stays alive until it ends.
        auto evaluated = std::make_shared<std::unique_ptr<CPassageList>>();
        const std::shared_ptr<CCompiledSearch>& compiled = compiled_;
        if (text->size() <= run_.evaluatedInPlaceUpTo_) {
            // Handing a short text over costs two thread switches, more than searching
            // it; without back-references its search is as short as the text.
            *evaluated = EvaluateRoot(*compiled->root, text->c_str(), text->size(), subexpression);
        } else if (!run_.RunWork([compiled, text, subexpression, evaluated] {
                       *evaluated =
                           EvaluateRoot(*compiled->root, text->c_str(), text->size(), subexpression);
                   })) {
            compiled->registry.Stop();
            return;
        }
        std::unique_ptr<CPassageList> list = std::move(*evaluated);
        if (!list)
            return;
        CFileFindings findings;
        AddFileResults(*list, *text, subexpression, originFlags, replaceMode_, file_, findings,
                       outside_);
        if (status_ && !findings.results.empty() && !file_.statusKnown)
            KeepFileStatus(findings, file_, status_);
        run_.RecordFindings(page_, file_, findings);
    }

private:
    CSearchController& run_;
    CFileFindDoc& page_;
    const std::vector<COutsideCharacter>* outside_ = nullptr;
    const kestrix::FileStatus* status_ = nullptr; // the loader's, valid until SearchText returns
    const CFileEntry& file_;
    bool replaceMode_;
    std::shared_ptr<CCompiledSearch> compiled_;
};

CSearchController::CSearchController(kestrix::FileSystem& fileSystem, kestrix::Clock& clock,
                                     CSearchUi& ui, CResultDocument& document)
    : fileSystem_(fileSystem), clock_(clock), ui_(ui), document_(document),
      bridge_(std::make_unique<CUiBridge>(*this)), collector_(fileSystem, *bridge_),
      loader_(fileSystem) {}

CSearchController::~CSearchController() = default;

void CSearchController::PumpMessages() {
    ui_.ProcessMessages();
    if (ui_.CancelRequested())
        flags_.cancelRequested = true;
    if (ui_.QuitReceived()) {
        flags_.cancelRequested = true;
        flags_.quitRequested = true;
    }
}

CRunOutcome CSearchController::StartSearching(const CSearchRequest& request) {
    if (flags_.searching || flags_.replacing)
        return {};
    if (request.replaceMode) {
        flags_.quitRequested = false;
        flags_.replacing = true;
    }
    const CRunOutcome outcome = RunSearch(request);
    // A cancelled search is no basis for changing files: the user asked to stop.
    if (request.replaceMode && outcome.success && outcome.page && !outcome.page->results.empty() &&
        !flags_.quitRequested && !flags_.cancelRequested && startReplacement)
        startReplacement(*outcome.page, 0);
    if (request.replaceMode) {
        flags_.replacing = false;
        ui_.UpdateCommandStates();
    }
    return outcome;
}

CRunOutcome CSearchController::EndEarly(CFileFindDoc* page) {
    flags_.searching = false;
    ui_.UpdateCommandStates();
    ui_.UnfoldPropertyBar();
    CRunOutcome outcome;
    outcome.page = page;
    return outcome;
}

CConverterFailureHandler CSearchController::ConverterFailureHandler() {
    return [this](const std::string& library, const std::string& file, CConverterFailure failure) {
        ui_.ReportConverterFailure(file, FormatConverterFailure(library, file, failure));
    };
}

bool CSearchController::RunWork(std::function<void()> job) {
    return work_.Run(std::move(job), [this] {
        PumpMessages();
        return flags_.cancelRequested;
    });
}

std::shared_ptr<CCompiledSearch> CSearchController::Compile(const CSearchRequest& request) {
    auto compiled = std::make_shared<CCompiledSearch>();
    // Some patterns take the library seconds to compile: a cancel meanwhile ends the run.
    if (!RunWork([compiled, expression = request.expression,
                  options = request.ExpressionOptions()] {
            compiled->error = CompileSearchExpression(expression, options, compiled->registry,
                                                      compiled->root, compiled->groupCount);
        })) {
        compiled->registry.Stop();
        return nullptr;
    }
    return compiled;
}

CRunOutcome CSearchController::RunSearch(const CSearchRequest& request) {
    std::shared_ptr<CCompiledSearch> compiled;
    replaceTag_ = request.replaceMode ? request.replaceTag : 0;
    evaluatedInPlaceUpTo_ = request.MayHoldBackReference() ? 0 : kEvaluatedInPlaceBytes;
    // A cancel from before this run is no cancel of it.
    flags_.cancelRequested = false;
    if (!request.expression.empty()) {
        compiled = Compile(request);
        if (!compiled)
            return EndEarly(nullptr);
        std::string error;
        if (compiled->error)
            error = compiled->error->what();
        else if (request.replaceMode && request.replaceTag > compiled->groupCount)
            error = FormatReplaceTagTooHigh(request.replaceTag, compiled->groupCount);
        if (!error.empty()) {
            ui_.ShowError(SorbexString(IDS_SEARCH_EXPRESSION_ERROR) + error);
            return EndEarly(nullptr);
        }
    }

    std::vector<std::string> directories;
    if (!CheckDirectories(request.directory, fileSystem_, *bridge_, directories))
        return EndEarly(nullptr);

    flags_.cancelRequested = false;
    flags_.searching = true;
    ui_.UpdateCommandStates();
    ui_.FocusActiveView();
    ui_.FoldPropertyBar();

    CFileFindDoc* page = document_.CurrentPage();
    if (!page || !page->request.IsSameSearch(request)) {
        page =
            &document_.AddPage(request.expression.empty() ? request.fileMask : request.expression);
        if (!ui_.OpenPage(*page)) {
            document_.RemovePage(*page);
            return EndEarly(nullptr);
        }
    }
    ui_.ActivatePage(*page);
    page->results.RemoveAll();
    page->current = -1;
    ui_.ClearPage(*page);
    page->request = request;

    filesWithPassages_ = 0;
    passagesFound_ = 0;
    skipped_ = 0;
    resultsAtLastRefresh_ = 0;
    resultAdded_ = false;
    const std::uint32_t startTime = clock_.Milliseconds();
    lastRefreshTime_ = startTime;
    int filesSeen = 0;
    statusFor_ = nullptr; // the list is built anew
    scanningPrefix_ = SorbexString(IDS_SCANNING_FILE);
    // A listing shows every entry's size and time; a search only those of files with
    // passages, looked up when the first one is found.
    const int found = collector_.CollectFiles(
        directories, request.directory, request.fileMask, request.withSubDirectories,
        request.expression.empty() ? kestrix::EntryDetail::SizeAndTime
                                   : kestrix::EntryDetail::TypesOnly,
        filesSeen);
    CSearchCounters counters;
    counters.listing = request.expression.empty();
    counters.total = filesSeen;
    counters.skipped = collector_.skipped();
    if (found == 0) {
        ui_.AppendClosingLine(
            *page, flags_.cancelRequested
                       ? FormatTimedMessage(IDS_SEARCH_CANCELED,
                                            ElapsedSeconds(startTime, clock_.Milliseconds()))
                       : SorbexString(IDS_NO_FILES_FOUND));
        ui_.ShowCounters(*page, counters);
        return EndEarly(page);
    }

    int listed = 0;
    const bool searchMode = compiled != nullptr;
    if (searchMode) {
        SearchAll(*page, request, compiled);
    } else {
        ListAll(*page);
        listed = static_cast<int>(page->results.size());
    }
    if (resultAdded_)
        ui_.RefreshResults(*page, resultsAtLastRefresh_);
    // A cancel that came while the last file was read is a cancel all the same.
    if (ui_.CancelRequested())
        flags_.cancelRequested = true;

    const double seconds = ElapsedSeconds(startTime, clock_.Milliseconds());
    std::string closing;
    if (flags_.cancelRequested)
        closing = FormatTimedMessage(IDS_SEARCH_CANCELED, seconds);
    else if (searchMode && page->results.empty())
        closing = SorbexString(IDS_NO_PASSAGES_FOUND);
    else
        closing = FormatTimedMessage(IDS_SEARCH_FINISHED, seconds);
    ui_.AppendClosingLine(*page, closing);
    counters.found = searchMode ? found : listed;
    counters.filesWithPassages = filesWithPassages_;
    counters.passages = passagesFound_;
    counters.skipped = skipped_ + collector_.skipped();
    ui_.ShowCounters(*page, counters);

    ui_.FocusActiveView();
    if (searchMode)
        ui_.HideProgress();
    flags_.searching = false;
    ui_.UpdateCommandStates();
    ui_.Beep();
    if (page->results.empty())
        ui_.UnfoldPropertyBar();
    CRunOutcome outcome;
    outcome.success = true;
    outcome.page = page;
    return outcome;
}

void CSearchController::SearchAll(CFileFindDoc& page, const CSearchRequest& request,
                                  const std::shared_ptr<CCompiledSearch>& compiled) {
    const std::vector<CFileEntry>& files = collector_.files();
    const int range = static_cast<int>(files.size());
    const CTextLoadOptions options = TextOptionsOf(request);
    std::unique_ptr<CSearchWorkers> workers;
    if (searchThreads_ > 1 && range > 1) {
        CSearchWorkers::CSetup setup;
        setup.fileSystem = &fileSystem_;
        setup.files = &files;
        setup.options = options;
        setup.subexpression = request.replaceMode ? replaceTag_ : 0;
        setup.filesInFlightPerThread = filesInFlight_;
        setup.compiled = CompileCopies(request, searchThreads_);
        if (setup.compiled.empty())
            return;
        setup.onRunThread = [this, options](const CFileEntry& file) {
            return loader_.UsesConverters(file.name, options);
        };
        workers = std::make_unique<CSearchWorkers>(std::move(setup));
        workers->SetPollInterval(pumpInterval_);
    }
    ui_.ShowProgress(range);
    int position = 0;
    CFileFindings findings;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const CFileEntry& file = files[i];
        PumpMessages();
        if (flags_.cancelRequested)
            break;
        position = std::min(position + 1, range);
        ui_.SetProgress(position);
        ShowScanning(file);
        if (CSearchWorkers::IsSearched(file)) {
            if (workers && !workers->Take(i, findings, [this] {
                    PumpMessages();
                    return flags_.cancelRequested;
                }))
                break;
            if (!workers || findings.onRunThread) {
                SearchFile(page, file, compiled, options);
            } else {
                // As SearchFile, which looks at the user's messages before the file.
                PumpMessages();
                if (flags_.cancelRequested)
                    break;
                RecordFindings(page, file, findings);
                ReportLoadOutcome(file, findings.loaded);
            }
        }
        RefreshIfDue(page, passagesFound_);
    }
    // A cancel stops the workers here, before the run reports its end.
    workers.reset();
}

std::vector<std::shared_ptr<CCompiledSearch>>
CSearchController::CompileCopies(const CSearchRequest& request, int count) {
    auto copies = std::make_shared<std::vector<std::shared_ptr<CCompiledSearch>>>();
    if (!RunWork([copies, count, expression = request.expression,
                  options = request.ExpressionOptions()] {
            for (int i = 0; i < count; ++i) {
                auto compiled = std::make_shared<CCompiledSearch>();
                compiled->error = CompileSearchExpression(expression, options, compiled->registry,
                                                          compiled->root, compiled->groupCount);
                copies->push_back(std::move(compiled));
            }
        }))
        return {};
    return std::move(*copies);
}

void CSearchController::RecordFindings(CFileFindDoc& page, const CFileEntry& file,
                                       CFileFindings& findings) {
    if (findings.results.empty())
        return;
    const CFileEntry& withStatus = findings.statusLooked ? findings.status : WithStatus(file);
    for (std::unique_ptr<CSearchResult>& result : findings.results)
        AddResult(page, std::move(result), withStatus);
    findings.results.clear();
    ++filesWithPassages_;
    passagesFound_ += findings.passages;
}

void CSearchController::ListAll(CFileFindDoc& page) {
    const std::string* previousDir = nullptr;
    int listed = 0;
    for (const CFileEntry& file : collector_.files()) {
        PumpMessages();
        if (flags_.cancelRequested)
            break;
        ShowScanning(file);
        auto result = std::make_unique<CSearchResult>();
        result->dir = file.dir;
        result->name = file.name;
        result->passageCount = 1;
        if (!previousDir || fileSystem_.CompareNames(*previousDir, file.dir) != 0)
            result->flags |= kResultFirstOfFile;
        if (file.isDirectory)
            result->flags |= kResultDirectory;
        previousDir = &file.dir;
        AddResult(page, std::move(result), file);
        RefreshIfDue(page, ++listed);
    }
}

void CSearchController::SearchFile(CFileFindDoc& page, const CFileEntry& file,
                                   const std::shared_ptr<CCompiledSearch>& compiled,
                                   const CTextLoadOptions& requestOptions) {
    if (!compiled || !compiled->root)
        return;
    PumpMessages();
    if (flags_.cancelRequested)
        return;
    CTextLoadOptions options = requestOptions;
    options.sizeKnown = file.statusKnown;
    options.size = file.size;
    CFileSearcher searcher(*this, page, file, options.replaceMode, compiled);
    // A file that cannot be read is passed over; the user interface decides whether
    // to say so.
    const CTextLoadResult loaded = loader_.LoadFileText(file.dir, file.name, options, &searcher);
    ReportLoadOutcome(file, loaded);
}

void CSearchController::ReportLoadOutcome(const CFileEntry& file, const CTextLoadResult& loaded) {
    if (loaded.outcome == CTextLoadOutcome::TooLarge) {
        const std::string path = file.dir + file.name;
        ++skipped_;
        ui_.ReportSkipped(path, FormatSorbexString(IDS_FILE_TOO_LARGE, {path}));
    } else if (loaded.outcome == CTextLoadOutcome::Skipped && loaded.error) {
        const std::string path = file.dir + file.name;
        ++skipped_;
        ui_.ReportSkipped(path, FormatSorbexString(IDS_FILE_NOT_READ,
                                                   {path, kestrix::OsErrorText(loaded.error.code)}));
    }
}

void CSearchController::AddResult(CFileFindDoc& page, std::unique_ptr<CSearchResult> result,
                                  const CFileEntry& file) {
    CSearchResult& added = *result;
    page.results.Add(std::move(result));
    ui_.AppendResult(page, added, WithStatus(file));
    resultAdded_ = true;
}

const CFileEntry& CSearchController::WithStatus(const CFileEntry& file) {
    if (file.statusKnown)
        return file;
    if (statusFor_ != &file) {
        statusFor_ = &file;
        completed_ = file;
        kestrix::FileStatus status;
        // A file gone since it was read keeps size and time 0, as a listing shows it.
        if (!fileSystem_.GetFileStatus(file.dir + file.name, status)) {
            completed_.size = status.size;
            completed_.modified = kestrix::SecondsSince1970(status.lastWriteTime);
        }
        completed_.statusKnown = true;
    }
    return completed_;
}

void CSearchController::ShowScanning(const CFileEntry& file) {
    statusText_.assign(scanningPrefix_);
    statusText_ += file.dir;
    statusText_ += file.name;
    ui_.SetStatusText(statusText_);
}

void CSearchController::RefreshIfDue(CFileFindDoc& page, int results) {
    if (!resultAdded_)
        return;
    const std::uint32_t now = clock_.Milliseconds();
    const std::uint32_t interval =
        resultsAtLastRefresh_ <= kRefreshSmallPage ? kRefreshSmallMs : kRefreshLargeMs;
    if (now - lastRefreshTime_ <= interval)
        return;
    ui_.RefreshResults(page, resultsAtLastRefresh_);
    resultAdded_ = false;
    lastRefreshTime_ = now;
    resultsAtLastRefresh_ = results;
}

} // namespace sorbex
