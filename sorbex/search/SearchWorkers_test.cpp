// Tests of the search run on several threads: the same searches of generated trees with
// one thread and with several give the same results, pages, counters and reports, and a
// cancel stops the workers.
#include "search/SearchWorkers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#ifdef __linux__
#include <dirent.h>
#endif

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/ManualClock.h"
#include "platform/testing/TempTree.h"
#include "search/SearchController.h"
#include "search/SearchUiRecorder.h"

namespace sorbex {
namespace {

// The system's file system, except that the first file read finds the tree changed
// since the walk: some files listed are gone and others have come.
class ChangingFileSystem : public kestrix::FaultyFileSystem {
public:
    ChangingFileSystem(kestrix::FileSystem& real, const kestrix::TempTree& tree)
        : FaultyFileSystem(real), real_(real), tree_(tree) {}

    std::vector<std::string> vanishing;
    std::vector<std::string> appearing;

    kestrix::OsError ReadFile(const std::string& path, std::string& bytes) override {
        std::call_once(changed_, [this] {
            for (const std::string& name : vanishing)
                std::remove(tree_.Path(name).c_str());
            for (const std::string& name : appearing)
                tree_.Write(name, "colour grey\n");
        });
        return real_.ReadFile(path, bytes);
    }
    kestrix::OsError GetFileStatus(const std::string& path, kestrix::FileStatus& status) override {
        return real_.GetFileStatus(path, status);
    }

private:
    kestrix::FileSystem& real_;
    const kestrix::TempTree& tree_;
    std::once_flag changed_;
};

// Lists every folder backwards, so that the walk meets the entries far from the order
// of the sorted list.
class BackwardsListing : public kestrix::FaultyFileSystem {
public:
    explicit BackwardsListing(kestrix::FileSystem& real) : FaultyFileSystem(real), real_(real) {}

    kestrix::OsError ListDirectory(const std::string& dir, kestrix::EntryDetail detail,
                                   const std::function<bool(const kestrix::DirEntry&)>& visit) override {
        std::vector<kestrix::DirEntry> entries;
        const kestrix::OsError error =
            real_.ListDirectory(dir, detail, [&](const kestrix::DirEntry& entry) {
                entries.push_back(entry);
                return true;
            });
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
            if (!visit(*entry))
                break;
        }
        return error;
    }
    kestrix::OsError ReadFile(const std::string& path, std::string& bytes) override {
        return real_.ReadFile(path, bytes);
    }
    kestrix::OsError GetFileStatus(const std::string& path, kestrix::FileStatus& status) override {
        return real_.GetFileStatus(path, status);
    }

private:
    kestrix::FileSystem& real_;
};

const char* const kWords[] = {"colour", "grey",   "search", "replace", "PM_RESUME",
                              "DEV_SUSPEND", "Meier", "alpha", "beta", "\n",
                              "colours", "\t", "x", "\n", "greying"};

std::string GeneratedText(unsigned& seed, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 16);
    while (text.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        text += kWords[(seed >> 16) % (sizeof kWords / sizeof kWords[0])];
        text += ' ';
    }
    return text;
}

// The first line where two transcripts differ, both ways; "" when they are the same.
std::string FirstDifference(const std::string& a, const std::string& b) {
    if (a == b)
        return "";
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const std::size_t line = a.rfind('\n', at) == std::string::npos ? 0 : a.rfind('\n', at) + 1;
    return a.substr(line, a.find('\n', at) - line) + "\n    against\n" +
           b.substr(line, b.find('\n', at) - line);
}

// Files are slow to create and open under Wine: a smaller tree there covers the same.
#ifdef _WIN32
constexpr int kSmallFiles = 50;
#else
constexpr int kSmallFiles = 150;
#endif

// One tree for every search: many small files in folders, a few large ones, a deep
// folder and a wide one, names that differ only in case, HTML, RTF, an empty file, one
// with zero bytes, and UTF-8 and UTF-16 ones with characters the code page lacks.
class SearchWorkersTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        tree_ = new kestrix::TempTree();
        unsigned seed = 7;
        for (int i = 0; i < kSmallFiles; ++i) {
            const std::string name = "D" + std::to_string(i % 12) + "/F" + std::to_string(i) +
                                     (i % 3 == 0 ? ".log" : ".txt");
            tree_->Write(name, GeneratedText(seed, 40 + (seed >> 20) % 2000));
        }
        for (int i = 0; i < 3; ++i)
            tree_->Write("Large/L" + std::to_string(i) + ".txt",
                         GeneratedText(seed, (256u << 10) + 1000u * i));
        std::string deep = "Deep";
        for (int level = 0; level < 10; ++level)
            deep += "/L" + std::to_string(level);
        tree_->Write(deep + "/Bottom.txt", "grey colour at the bottom");
        for (int i = 0; i < 24; ++i)
            tree_->Write("Wide/W" + std::to_string(i) + "/w.txt", GeneratedText(seed, 300));
#ifndef _WIN32
        // Names that the locale's order calls equal: the bytes decide among them.
        for (const char* name : {"Case/grey.txt", "Case/Grey.txt", "Case/GREY.txt",
                                 "Case/sub/colour.txt", "Case/SUB/colour.txt"})
            tree_->Write(name, "grey colour grey\n");
#endif
        tree_->Write("Web/Page.htm", "<p>a grey <b>colour</b></p>&amp; colour");
        tree_->Write("Web/Doc.rtf", "{\\rtf1 grey\\par colour\\tab search}");
        tree_->Write("Empty.txt", "");
        tree_->Write("Zero.txt", std::string("grey\0colour\0", 12));
        tree_->Write("Gone.txt", "grey colour");
        tree_->Write("Enc/Utf8.txt", "grey \xC5\x82\xC4\x85ka colour H\xC3\xBCgel\n");
        const auto utf16 = [](const std::string& latin1) {
            std::string out;
            for (const char c : latin1) {
                out += c;
                out += '\0';
            }
            return out;
        };
        // "colour ü α grey": α (U+03B1) lacks a byte.
        tree_->Write("Enc/Utf16.txt", "\xFF\xFE" + utf16("colour \xFC ") + "\xB1\x03" +
                                          utf16(" grey\r\n"));
    }
    static void TearDownTestSuite() {
        delete tree_;
        tree_ = nullptr;
    }

    CSearchRequest Request(const std::string& expression) const {
        CSearchRequest request;
        request.expression = expression;
        request.fileMask = "*";
        request.directory = tree_->root();
        request.useInternalFilter = true;
        request.useExternalFilter = true;
        return request;
    }

    // Everything the run showed and recorded, as one text.
    static std::string Transcript(const CSearchUiRecorder& ui, CResultDocument& document) {
        std::string text;
        for (const std::string& event : ui.events)
            text += "event " + event + "\n";
        for (const std::string& status : ui.fileList.statusTexts)
            text += "status " + status + "\n";
        for (const std::string& skipped : ui.fileList.skipped)
            text += "skipped " + skipped + "\n";
        for (const std::string& error : ui.fileList.errors)
            text += "error " + error + "\n";
        for (const std::string& shown : ui.shownFiles)
            text += "file " + shown + "\n";
        for (const std::string& refresh : ui.refreshes)
            text += "refresh " + refresh + "\n";
        for (const std::string& line : ui.closingLines)
            text += "closing " + line + "\n";
        const CSearchCounters& c = ui.counters;
        text += "counters " + std::to_string(c.listing) + " " + std::to_string(c.filesWithPassages) +
                " " + std::to_string(c.found) + " " + std::to_string(c.total) + " " +
                std::to_string(c.passages) + " " + std::to_string(c.skipped) + " shown " +
                std::to_string(ui.countersShown) + " progress " + std::to_string(ui.lastProgress) +
                "\n";
        const CFileFindDoc* page = document.CurrentPage();
        if (page) {
            for (std::size_t i = 0; i < page->results.size(); ++i) {
                const CSearchResult& r = page->results[i];
                text += "result " + r.dir + r.name + " " + std::to_string(r.start) + "-" +
                        std::to_string(r.end) + " " + std::to_string(r.excerptStart) + "-" +
                        std::to_string(r.excerptEnd) + " " + std::to_string(r.passageCount) +
                        " " + std::to_string(r.flags) + " " + std::to_string(r.viewPosition) +
                        " [" + r.excerpt + "]";
                for (const COutsideCharacter& outside : r.excerptOutside)
                    text += " outside " + std::to_string(outside.offset) + ":" +
                            std::to_string(static_cast<std::uint32_t>(outside.character));
                text += "\n";
            }
        }
        return text;
    }

    struct CRunChoices {
        int cancelAt = 0;      // results written when the user cancels (0: never)
        int cancelAtPump = -1; // or the pump of the run that brings the cancel
        kestrix::FileSystem* fileSystem = nullptr;
        std::size_t filesInFlight = CSearchWorkers::kFilesInFlightPerThread;
    };

    // Runs `request` with `threads` and returns its transcript.
    std::string Run(const CSearchRequest& request, int threads, const CRunChoices& choices) {
        CSearchUiRecorder ui;
        CResultDocument document;
        kestrix::ManualClock clock;
        CSearchController run(choices.fileSystem ? *choices.fileSystem : *fs_, clock, ui,
                              document);
        run.SetSearchThreads(threads);
        run.SetFilesInFlightPerThread(choices.filesInFlight);
        if (choices.cancelAtPump >= 0) {
            // Only the run's own pumps count, never one from waiting for a thread.
            run.SetPumpInterval(std::chrono::hours(1));
            ui.fileList.onPump = [&] {
                if (ui.fileList.pumps == choices.cancelAtPump)
                    ui.fileList.cancelled = true;
            };
        }
        int written = 0;
        ui.onAppend = [&](const CSearchResult&) {
            if (++written == choices.cancelAt)
                ui.fileList.cancelled = true;
        };
        run.StartSearching(request);
        EXPECT_FALSE(run.flags().searching);
        return Transcript(ui, document);
    }
    // `cancelAt` results written, the user cancels (0: never).
    std::string Run(const CSearchRequest& request, int threads, int cancelAt = 0,
                    kestrix::FileSystem* fileSystem = nullptr) {
        CRunChoices choices;
        choices.cancelAt = cancelAt;
        choices.fileSystem = fileSystem;
        return Run(request, threads, choices);
    }

    static kestrix::TempTree* tree_;
    std::unique_ptr<kestrix::FileSystem> fs_ = kestrix::MakeSystemFileSystem();
};

kestrix::TempTree* SearchWorkersTest::tree_ = nullptr;

TEST_F(SearchWorkersTest, SeveralThreadsShowWhatOneShows) {
    struct Case {
        const char* expression;
        bool wholeWords;
        bool phonetic;
        int replaceTag; // -1: a search
        int cancelAt;
    };
    const Case cases[] = {
        {"colour", false, false, -1, 0},
        {"grey&colour", false, false, -1, 0},
        {"!PM_RESUME", false, false, -1, 0},
        {"[A-Z]+_SUSPEND", true, false, -1, 0},
        {"grey&20(colour|search)&!beta", false, false, -1, 0},
        {"Mayer", false, true, -1, 0},
        {"(col)our", false, false, 1, 0},
        {"colour", false, false, -1, 1},
        {"grey", false, false, -1, 120},
        {"", false, false, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.expression) + " cancel at " + std::to_string(c.cancelAt));
        CSearchRequest request = Request(c.expression);
        request.matchWholeWords = c.wholeWords;
        request.searchMethod = c.phonetic ? CSearchMethod::Phonetic : CSearchMethod::Standard;
        if (c.replaceTag >= 0) {
            request.replaceMode = true;
            request.replaceTag = c.replaceTag;
        }
        const std::string one = Run(request, 1, c.cancelAt);
        EXPECT_NE(std::string::npos, one.find(c.cancelAt ? "CANCELED" : "closing"));
        for (int threads : {2, 3}) {
            SCOPED_TRACE(threads);
            EXPECT_EQ("", FirstDifference(one, Run(request, threads, c.cancelAt)));
        }
        // Room for fewer files than the tree holds: the workers wait for the run's
        // thread again and again, from one file ahead each to several.
        CRunChoices choices;
        choices.cancelAt = c.cancelAt;
        for (const std::size_t room : {1u, 2u, 5u}) {
            SCOPED_TRACE("room " + std::to_string(room));
            choices.filesInFlight = room;
            EXPECT_EQ("", FirstDifference(one, Run(request, 2, choices)));
        }
        // The walk meets every folder's entries in the opposite order of the list's.
        BackwardsListing backwards(*fs_);
        choices = CRunChoices();
        choices.cancelAt = c.cancelAt;
        choices.fileSystem = &backwards;
        const std::string oneBackwards = Run(request, 1, choices);
        EXPECT_EQ("", FirstDifference(oneBackwards, Run(request, 3, choices)));
    }
    // The workers' results keep the characters their excerpts hold as the substitute.
    const std::string utf = Run(Request("colour"), 3);
    EXPECT_NE(std::string::npos, utf.find("outside 5:322 outside 6:261")) << utf;
    EXPECT_NE(std::string::npos, utf.find("outside 9:945")) << utf;
}

TEST_F(SearchWorkersTest, FilesGoneOrComeAfterTheWalkAreTreatedAlike) {
    std::string transcripts[2];
    const std::string f3 = tree_->Read("D3/F3.log");
    for (int pass = 0; pass < 2; ++pass) {
        tree_->Write("Gone.txt", "grey colour");
        tree_->Write("D3/F3.log", f3);
        std::remove(tree_->Path("Came.txt").c_str());
        ChangingFileSystem changing(*fs_, *tree_);
        changing.vanishing = {"Gone.txt", "D3/F3.log"};
        changing.appearing = {"Came.txt"};
        transcripts[pass] = Run(Request("grey"), pass == 0 ? 1 : 4, 0, &changing);
    }
    EXPECT_NE(std::string::npos, transcripts[0].find("skipped " + tree_->Path("Gone.txt")));
    EXPECT_EQ(std::string::npos, transcripts[0].find("Came.txt"));
    EXPECT_EQ("", FirstDifference(transcripts[0], transcripts[1]));
    std::remove(tree_->Path("Came.txt").c_str());
    tree_->Write("Gone.txt", "grey colour");
    tree_->Write("D3/F3.log", f3);
}

// Counts how often each file's size and time are asked for.
class CountingFileSystem : public kestrix::FaultyFileSystem {
public:
    explicit CountingFileSystem(kestrix::FileSystem& real) : FaultyFileSystem(real), real_(real) {}

    kestrix::OsError GetFileStatus(const std::string& path, kestrix::FileStatus& status) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            ++lookups[path];
        }
        return real_.GetFileStatus(path, status);
    }

    std::map<std::string, int> lookups;

private:
    kestrix::FileSystem& real_;
    std::mutex mutex_;
};

// A search learns each file's size and time once, as it reads it: a file with passages
// is not looked up again for its result lines, on one thread or several.
TEST_F(SearchWorkersTest, EachFileIsLookedUpOnceWhetherItHasPassagesOrNot) {
    for (int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        CountingFileSystem counting(*fs_);
        const std::string transcript = Run(Request("colour"), threads, 0, &counting);
        EXPECT_NE(std::string::npos, transcript.find("file Gone.txt 11 dated")) << transcript;
        EXPECT_NE(std::string::npos, transcript.find("file Utf8.txt 26 dated")) << transcript;
        // Where the listing brings size and time along (Windows) nothing is looked up.
        for (const auto& [path, count] : counting.lookups) {
            SCOPED_TRACE(path);
            EXPECT_EQ(1, count);
        }
    }
}

#ifdef __linux__
std::size_t ThreadsOfThisProcess() {
    std::size_t count = 0;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (const dirent* entry = ::readdir(dir))
            count += entry->d_name[0] != '.';
        ::closedir(dir);
    }
    return count;
}

TEST_F(SearchWorkersTest, ACancelStopsEveryWorker) {
    const std::size_t before = ThreadsOfThisProcess();
    const std::string cancelled = Run(Request("grey"), 4, 3);
    EXPECT_NE(std::string::npos, cancelled.find("SEARCHING CANCELED ("));
    EXPECT_EQ(before, ThreadsOfThisProcess());
}
#endif

// A cancel while the tree is still being listed ends the run as it does on one thread,
// and leaves no thread behind.
TEST_F(SearchWorkersTest, ACancelDuringTheListingEndsTheRunAsOnOneThread) {
#ifdef __linux__
    const std::size_t before = ThreadsOfThisProcess();
#endif
    for (const int pump : {5, 60}) {
        SCOPED_TRACE(pump);
        CRunChoices choices;
        choices.cancelAtPump = pump;
        const std::string one = Run(Request("grey"), 1, choices);
        EXPECT_NE(std::string::npos, one.find("SEARCHING CANCELED (")) << one;
        // No file was searched: the listing was cut short.
        EXPECT_EQ(std::string::npos, one.find("result ")) << one;
        for (const int threads : {2, 3}) {
            SCOPED_TRACE(threads);
            EXPECT_EQ("", FirstDifference(one, Run(Request("grey"), threads, choices)));
#ifdef __linux__
            EXPECT_EQ(before, ThreadsOfThisProcess());
#endif
        }
    }
}

// Issue 21's stuck library, on several threads: the cancel ends the run, and the
// worker held by the library is let go as the single work thread's job is.
TEST_F(SearchWorkersTest, CancelWhileAWorkerIsStuckInTheLibraryEndsTheRun) {
    kestrix::TempTree slowTree;
    std::string slow;
    for (int line = 0; line < 1000; ++line)
        slow += std::string(60, 'a') + " c\n";
    slowTree.Write("Slow.txt", slow);
    slowTree.Write("Other.txt", "aac\n");
    CSearchUiRecorder ui;
    CResultDocument document;
    kestrix::ManualClock clock;
    CSearchController run(*fs_, clock, ui, document);
    run.SetSearchThreads(3);
    run.SetPumpInterval(std::chrono::milliseconds(5));
    int pumps = 0;
    ui.fileList.onPump = [&] {
        if (++pumps == 20)
            ui.fileList.cancelled = true;
    };
    CSearchRequest request = Request("(a*)*\\1c");
    request.directory = slowTree.root();
    run.StartSearching(request);
    ASSERT_EQ(1u, ui.closingLines.size());
    EXPECT_EQ(0u, ui.closingLines[0].find("SEARCHING CANCELED ("));
    EXPECT_FALSE(run.flags().searching);
}

} // namespace
} // namespace sorbex
