// The search run: from a request to a page of results, with the run's state and timing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "search/CompiledSearch.h"
#include "search/FileCollector.h"
#include "search/SearchWorkers.h"
#include "search/FileFindings.h"
#include "search/ReplacePassages.h"
#include "search/ResultDocument.h"
#include "search/SearchRequest.h"
#include "search/SearchUi.h"
#include "search/WorkThread.h"
#include "text/FileTextLoader.h"

namespace sorbex {

// What a run reports to the command that started it.
struct CRunOutcome {
    bool success = false;         // false for every early end: no replacement follows
    CFileFindDoc* page = nullptr; // the page that received the results, if any
};

class CSearchController {
public:
    CSearchController(kestrix::FileSystem& fileSystem, kestrix::Clock& clock, CSearchUi& ui,
                      CResultDocument& document);
    ~CSearchController();

    // The command "Start Searching": refused while a run or a replacement is going on.
    // In replace mode a run that ends normally with results hands the page to
    // `startReplacement`, which walks it from the first result.
    CRunOutcome StartSearching(const CSearchRequest& request);
    // The command "Cancel Searching" and the Esc key: honoured between files, and while
    // an expression compiles or a file is evaluated, within the pump interval.
    void CancelSearching() { flags_.cancelRequested = true; }
    CRunOutcome RunSearch(const CSearchRequest& request);
    // Loads and searches one file of the list and records its results in `page`.
    void SearchFile(CFileFindDoc& page, const CFileEntry& file,
                    const std::shared_ptr<CCompiledSearch>& compiled,
                    const CTextLoadOptions& options);
    // Lets the user interface handle what is waiting; a cancel or the application's
    // quit message arrives this way.
    void PumpMessages();

    // How often the run pumps messages while the work thread compiles or evaluates.
    void SetPumpInterval(std::chrono::milliseconds interval) {
        work_.SetPollInterval(interval);
        pumpInterval_ = interval;
    }
    // How many files a search reads and evaluates at once (1, the default: one after
    // another on the work thread). The results and all the user interface sees are the
    // same with any count; files that reach the converters are read by the run's thread.
    void SetSearchThreads(int threads) { searchThreads_ = threads < 1 ? 1 : threads; }
    // How many files each of those threads may be ahead of the run (at least one).
    void SetFilesInFlightPerThread(std::size_t files) { filesInFlight_ = files < 1 ? 1 : files; }

    // Where the cache, the converters and the internal readers plug in.
    CFileTextLoader& loader() { return loader_; }
    // For the converters' loader (`CConverterLoader::SetFailureHandler`): tells the user
    // interface of each converter given up, with the file and why. It is called on the
    // thread that loads the files.
    CConverterFailureHandler ConverterFailureHandler();
    const std::vector<CFileEntry>& fileList() const { return collector_.files(); }

    std::function<void(CFileFindDoc& page, std::size_t startIndex)> startReplacement;

    // Whether a search or a replacement runs and what was asked of it; the replacement
    // walk reads and changes them too.
    CRunFlags& flags() { return flags_; }
    const CRunFlags& flags() const { return flags_; }
    // The last run's count of files with passages and of passages.
    int filesWithPassages() const { return filesWithPassages_; }
    int passagesFound() const { return passagesFound_; }

private:
    class CUiBridge;
    class CFileSearcher;

    CRunOutcome EndEarly(CFileFindDoc* page);
    // Compiles the request's expression on the work thread; null when the user
    // cancelled meanwhile.
    std::shared_ptr<CCompiledSearch> Compile(const CSearchRequest& request);
    // Runs `job` on the work thread, pumping messages meanwhile; false when a cancel
    // made the run give it up.
    bool RunWork(std::function<void()> job);
    void SearchAll(CFileFindDoc& page, const CSearchRequest& request,
                   const std::shared_ptr<CCompiledSearch>& compiled);
    // Copies of the request's expression for the threads beyond the first; empty when
    // the user cancelled meanwhile.
    std::vector<std::shared_ptr<CCompiledSearch>> CompileCopies(const CSearchRequest& request,
                                                                int count);
    // Records what a worker found in `file`, as SearchFile records what it finds.
    void RecordFindings(CFileFindDoc& page, const CFileEntry& file, CFileFindings& findings);
    // Reports a file that could not be searched.
    void ReportLoadOutcome(const CFileEntry& file, const CTextLoadResult& loaded);
    void ListAll(CFileFindDoc& page);
    void AddResult(CFileFindDoc& page, std::unique_ptr<CSearchResult> result,
                   const CFileEntry& file);
    void RefreshIfDue(CFileFindDoc& page, int results);
    void ShowScanning(const CFileEntry& file);
    // `file` with its size and time, looked up once when the walk left them out.
    const CFileEntry& WithStatus(const CFileEntry& file);

    kestrix::FileSystem& fileSystem_;
    kestrix::Clock& clock_;
    CSearchUi& ui_;
    CResultDocument& document_;
    std::unique_ptr<CUiBridge> bridge_;
    CFileCollector collector_;
    CFileTextLoader loader_;
    CWorkThread work_;
    CRunFlags flags_;
    int searchThreads_ = 1;
    std::size_t filesInFlight_ = CSearchWorkers::kFilesInFlightPerThread;
    std::chrono::milliseconds pumpInterval_{50};
    int filesWithPassages_ = 0;
    int passagesFound_ = 0;
    // When the result window was last refreshed, and with how many results.
    std::uint32_t lastRefreshTime_ = 0;
    int resultsAtLastRefresh_ = 0;
    bool resultAdded_ = false;
    int replaceTag_ = 0;
    // Texts up to this size are evaluated without the work thread (0: every text, the
    // expression may keep the library busy however short the text).
    std::size_t evaluatedInPlaceUpTo_ = 0;
    int skipped_ = 0; // files of this run reported as not searched
    std::string scanningPrefix_;            // the status text before each file's path, once per run
    std::string statusText_;                // reused for every file, so that it allocates once
    const CFileEntry* statusFor_ = nullptr; // the entry `completed_` completes
    CFileEntry completed_;
};

} // namespace sorbex
