// The registry search on the in-memory registry: order, duplicates, the current
// user, data types, unreadable keys, remote computers, stopping.
#include "registry/RegistrySearch.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace keywright {
namespace {

using namespace kestrix;

struct Recorder {
    std::mutex lock;
    std::vector<SearchHit> hits;
    std::vector<SearchProgress> progress;
    std::vector<std::string> messages;
    int done = 0;
    std::function<void(RegistrySearch&, const SearchProgress&)> onProgress;
    RegistrySearch* search = nullptr;

    // One row per hit: "flags|key path|value name".
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (const SearchHit& h : hits)
            rows.push_back(std::to_string(h.flags) + "|" + h.keyPath + "|" + h.valueName);
        return rows;
    }
};

void OnHit(void* context, std::unique_ptr<SearchHit> hit) {
    auto* r = static_cast<Recorder*>(context);
    std::lock_guard<std::mutex> guard(r->lock);
    r->hits.push_back(*hit);
}

void OnProgress(void* context, const SearchProgress& progress) {
    auto* r = static_cast<Recorder*>(context);
    {
        std::lock_guard<std::mutex> guard(r->lock);
        if (progress.kind != kSearchRunning)
            r->progress.push_back(progress);
    }
    if (r->onProgress)
        r->onProgress(*r->search, progress);
}

const std::vector<std::string> kAllRoots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                            "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                            "HKEY_CURRENT_CONFIG"};

class Search : public ::testing::Test {
protected:
    Search() {
        SearchEnvironment env;
        env.registry = &reg_;
        env.rootText = "KESTRIX";
        env.showMessage = [this](const std::string& text) {
            std::lock_guard<std::mutex> guard(rec_.lock);
            rec_.messages.push_back(text);
        };
        env.sendDone = [this](void* context) {
            EXPECT_EQ(&rec_, context);
            ++rec_.done;
        };
        env.tickCount = [] { return 4242u; };
        search_ = std::make_unique<RegistrySearch>(env);
        search_->callbackContext = &rec_;
        search_->hitCallback = &OnHit;
        search_->progressCallback = &OnProgress;
        search_->computers = {{"KESTRIX", kAllRoots}};
        rec_.search = search_.get();
    }

    void Set(RegKey root, const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& bytes) {
        ScopedRegKey k(reg_);
        ASSERT_EQ(kErrorSuccess, reg_.CreateKey(root, key.c_str(), k.Receive()));
        if (type != kRegNone) {
            ASSERT_EQ(kErrorSuccess, reg_.SetValue(k.get(), name.c_str(), type, bytes.data(),
                                                   std::uint32_t(bytes.size())));
        }
    }

    // Starts the search as the window does and waits for its worker.
    void Run(const std::string& text) {
        search_->searchText = text;
        EXPECT_TRUE(Start(*search_));
        search_->Wait();
    }

    std::vector<std::string> RunFor(const std::string& text) {
        search_->wholeRegistry = true;
        Run(text);
        return rec_.Rows();
    }

    MemoryRegistry reg_;
    Recorder rec_;
    std::unique_ptr<RegistrySearch> search_;
};

TEST(SearchMatch, ContainsOrWholeStringWithAsciiCaseFolding) {
    struct Case {
        const char* candidate;
        bool whole, matchCase;
        const char* text; // already upper-cased when match case is off
        bool expected;
    } cases[] = {
        {"RunOnce", false, false, "RUN", true},  {"PRUNE", false, false, "RUN", true},
        {"Runner", true, false, "RUN", false},   {"rUn", true, false, "RUN", true},
        {"RunOnce", false, true, "run", false},  {"prune", false, true, "run", true},
        {"é-run", false, false, "É-RUN", false}, // bytes above 127 keep their case
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.candidate);
        EXPECT_EQ(c.expected, Match(c.whole, c.matchCase, c.candidate, c.text));
    }
}

TEST_F(Search, HitsComeOutInPostOrderWithKeyAndValueHitsApart) {
    Set(kHkeyCurrentUser, "Software\\Run", "run", kRegDword, std::string(4, '\0'));
    Set(kHkeyCurrentUser, "Software\\Run\\Deep\\PRUNE", "", kRegNone, {});
    Set(kHkeyCurrentUser, "Software\\Runner", "", kRegSz, std::string("no match\0", 9));
    search_->hkcr = search_->hklm = search_->hku = search_->hkcc = false;
    std::vector<std::string> expected = {
        "1|KESTRIX\\HKEY_CURRENT_USER\\Software\\Run\\Deep\\PRUNE|",
        "2|KESTRIX\\HKEY_CURRENT_USER\\Software\\Run|run",
        "1|KESTRIX\\HKEY_CURRENT_USER\\Software\\Run|",
        "1|KESTRIX\\HKEY_CURRENT_USER\\Software\\Runner|",
    };
    EXPECT_EQ(expected, RunFor("run"));
    ASSERT_EQ(2u, rec_.progress.size());
    EXPECT_EQ(kSearchStarted, rec_.progress[0].kind);
    EXPECT_EQ(kSearchCompleted, rec_.progress[1].kind);
    EXPECT_EQ(3u, rec_.progress[1].counters.keysFound);
    EXPECT_EQ(1u, rec_.progress[1].counters.valuesFound);
    EXPECT_EQ(1, rec_.done);

    rec_.hits.clear();
    search_->wholeString = true;
    EXPECT_EQ(std::vector<std::string>(expected.begin() + 1, expected.begin() + 3), RunFor("RUN"));
}

TEST_F(Search, DuplicatesAreLeftOutUnderTheirHivesAndKeptUnderTheAliases) {
    Set(kHkeyCurrentUser, "KwDupUser", "", kRegNone, {});
    Set(kHkeyClassesRoot, "KwDupClass", "", kRegNone, {});
    Set(kHkeyCurrentConfig, "KwDupConfig", "", kRegNone, {});
    search_->searchValues = search_->searchData = false;
    std::vector<std::string> suppressed = {
        "1|KESTRIX\\HKEY_CLASSES_ROOT\\KwDupClass|",
        "1|KESTRIX\\HKEY_CURRENT_USER\\KwDupUser|",
        "1|KESTRIX\\HKEY_CURRENT_CONFIG\\KwDupConfig|",
    };
    EXPECT_EQ(suppressed, RunFor("KwDup"));

    struct Case {
        const char* what;
        bool* flag;
        const char* extra;
    } cases[] = {
        {"HKCU", &search_->suppressHkcu,
         "1|KESTRIX\\HKEY_USERS\\S-1-5-21-1000-1000-1000-1000\\KwDupUser|"},
        {"HKCR", &search_->suppressHkcr,
         "1|KESTRIX\\HKEY_LOCAL_MACHINE\\Software\\Classes\\KwDupClass|"},
        {"HKCC", &search_->suppressHkcc,
         "1|KESTRIX\\HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Hardware "
         "Profiles\\Current\\KwDupConfig|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rec_.hits.clear();
        *c.flag = false;
        std::vector<std::string> rows = RunFor("KwDup");
        *c.flag = true;
        EXPECT_EQ(4u, rows.size());
        EXPECT_NE(rows.end(), std::find(rows.begin(), rows.end(), c.extra));
    }
    // The marker went again.
    char name[64];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(kErrorNoMoreItems,
              reg_.EnumValue(kHkeyCurrentUser, 0, name, &size, nullptr, nullptr, nullptr));
    EXPECT_TRUE(rec_.messages.empty());
}

TEST_F(Search, CurrentUserOnlySearchesTheUsersHiveOnceAndNeverTheMarker) {
    Set(kHkeyCurrentUser, "Mine4242", "", kRegNone, {});
    Set(kHkeyUsers, ".DEFAULT\\Other4242", "", kRegNone, {});
    search_->currentUserOnly = true;
    search_->suppressHkcu = false;
    EXPECT_EQ(std::vector<std::string>{"1|KESTRIX\\HKEY_CURRENT_USER\\Mine4242|"}, RunFor("4242"));

    rec_.hits.clear();
    search_->hkcu = false;
    EXPECT_EQ(
        std::vector<std::string>{"1|KESTRIX\\HKEY_USERS\\S-1-5-21-1000-1000-1000-1000\\Mine4242|"},
        RunFor("4242"));
}

TEST_F(Search, OnlyStringDataMatchesAndMultiStringsRecordTheOffset) {
    Set(kHkeyCurrentUser, "T", "Multi", kRegMultiSz, std::string("one\0two\0needle3\0\0", 18));
    Set(kHkeyCurrentUser, "T", "Dword", kRegDword, "NEED");
    Set(kHkeyCurrentUser, "T", "Binary", kRegBinary, "needle");
    Set(kHkeyCurrentUser, "T", "", kRegExpandSz, std::string(5000, 'x') + "needle");
    search_->hkcr = search_->hklm = search_->hku = search_->hkcc = false;
    search_->searchKeys = search_->searchValues = false;
    EXPECT_EQ((std::vector<std::string>{"4|KESTRIX\\HKEY_CURRENT_USER\\T|Multi",
                                        "4|KESTRIX\\HKEY_CURRENT_USER\\T|(Default)"}),
              RunFor("NEED"));
    ASSERT_EQ(2u, rec_.hits.size());
    EXPECT_EQ(8u, rec_.hits[0].matchOffset);
    EXPECT_EQ(kRegMultiSz, rec_.hits[0].type);
    EXPECT_EQ(18u, rec_.hits[0].size);
    EXPECT_EQ(std::string("one\0two\0needle3\0\0", 18),
              std::string(rec_.hits[0].data.begin(), rec_.hits[0].data.end()));
    EXPECT_EQ(5006u, rec_.hits[1].size); // read through the growing buffer
    EXPECT_EQ(0u, rec_.hits[1].matchOffset);
    EXPECT_EQ(2u, rec_.progress.back().counters.dataExamined);
}

TEST_F(Search, AnUnreadableKeyHidesNeitherItsSiblingsNorItsParentsValues) {
    Set(kHkeyCurrentUser, "P\\A-find", "", kRegNone, {});
    Set(kHkeyCurrentUser, "P\\B-locked\\find-inside", "", kRegNone, {});
    Set(kHkeyCurrentUser, "P\\C-find", "", kRegNone, {});
    Set(kHkeyCurrentUser, "P", "find-value", kRegSz, std::string("x\0", 2));
    ASSERT_EQ(kErrorSuccess, reg_.Deny(kHkeyCurrentUser, "P\\B-locked", MemoryDenial::All));
    search_->hkcr = search_->hklm = search_->hku = search_->hkcc = false;
    EXPECT_EQ((std::vector<std::string>{"1|KESTRIX\\HKEY_CURRENT_USER\\P\\A-find|",
                                        "1|KESTRIX\\HKEY_CURRENT_USER\\P\\C-find|",
                                        "2|KESTRIX\\HKEY_CURRENT_USER\\P|find-value"}),
              RunFor("find"));
}

TEST_F(Search, RootHitsEndWithABackslashAndSelectedKeysSearchBelowThemOnly) {
    search_->searchValues = search_->searchData = false;
    EXPECT_EQ(std::vector<std::string>{"1|KESTRIX\\HKEY_CURRENT_CONFIG\\|"},
              RunFor("HKEY_CURRENT_CONFIG"));

    Set(kHkeyLocalMachine, "Software\\Sel\\Inner-x", "", kRegNone, {});
    Set(kHkeyLocalMachine, "Software\\Outer-x", "", kRegNone, {});
    rec_.hits.clear();
    search_->computerName = "KESTRIX";
    search_->rootName = "HKEY_LOCAL_MACHINE";
    search_->rootHandle = kHkeyLocalMachine;
    search_->startSubkey = "Software\\Sel";
    search_->wholeRegistry = false;
    Run("-x");
    EXPECT_EQ(std::vector<std::string>{"1|KESTRIX\\HKEY_LOCAL_MACHINE\\Software\\Sel\\Inner-x|"},
              rec_.Rows());
}

TEST_F(Search, UnreachableStartsEndInterruptedWithTheirMessages) {
    struct Case {
        const char* computer;
        const char* start;
        const char* message;
    } cases[] = {
        {"KESTRIX", "Software\\Missing", "Error opening key: Software\\Missing"},
        {"FARAWAY", "Software", "Error opening remote machine root: Software"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        rec_.progress.clear();
        rec_.messages.clear();
        search_->computerName = c.computer;
        search_->rootName = "HKEY_LOCAL_MACHINE";
        search_->rootHandle = kHkeyLocalMachine;
        search_->startSubkey = c.start;
        search_->wholeRegistry = false;
        Run("X");
        EXPECT_EQ(std::vector<std::string>{c.message}, rec_.messages);
        ASSERT_EQ(2u, rec_.progress.size());
        EXPECT_EQ(kSearchInterrupted, rec_.progress[1].kind);
    }
    EXPECT_EQ(2, rec_.done);
}

TEST_F(Search, RemoteComputersAreSearchedThroughTheirOwnRoots) {
    reg_.AddRemoteComputer("OTHER");
    ScopedRegKey remote(reg_), key(reg_);
    ASSERT_EQ(kErrorSuccess,
              reg_.ConnectRegistry("\\\\OTHER", kHkeyLocalMachine, remote.Receive()));
    ASSERT_EQ(kErrorSuccess, reg_.CreateKey(remote.get(), "Software\\Classes\\Far", key.Receive()));
    remote.Close();
    key.Close();
    search_->computers.push_back({"OTHER", {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"}});
    search_->computers.push_back({"GONE", {"HKEY_USERS"}});
    // A remote computer has no duplicate suppression: its Classes key is searched.
    EXPECT_EQ(std::vector<std::string>{"1|OTHER\\HKEY_LOCAL_MACHINE\\Software\\Classes\\Far|"},
              RunFor("far"));
    // HKEY_CURRENT_USER does not travel, and GONE cannot be reached.
    EXPECT_EQ(std::vector<std::string>(2, "Error opening remote registry key."), rec_.messages);
    EXPECT_EQ(kSearchCompleted, rec_.progress.back().kind);
}

TEST_F(Search, StopEndsTheSearchInterruptedWithTheCountsSoFar) {
    for (int i = 0; i < 200; ++i)
        Set(kHkeyCurrentUser, "Many\\k" + std::to_string(i) + "\\stop", "", kRegNone, {});
    rec_.onProgress = [](RegistrySearch& s, const SearchProgress& p) {
        if (p.kind == kSearchRunning && p.counters.keysVisited >= 50)
            Stop(s);
    };
    search_->searchText = "stop";
    search_->wholeRegistry = true;
    ASSERT_TRUE(Start(*search_));
    search_->Wait();
    ASSERT_EQ(2u, rec_.progress.size());
    const SearchProgress& last = rec_.progress[1];
    EXPECT_EQ(kSearchInterrupted, last.kind);
    EXPECT_EQ(rec_.hits.size(), last.counters.keysFound);
    EXPECT_LT(last.counters.keysFound, 200u);
    EXPECT_GE(last.counters.keysVisited, 50u);
    EXPECT_EQ(1, rec_.done);
    // A late stop does not end the next search at once.
    Stop(*search_);
    rec_.onProgress = nullptr;
    rec_.progress.clear();
    rec_.hits.clear();
    ASSERT_TRUE(Start(*search_));
    search_->Wait();
    EXPECT_EQ(kSearchCompleted, rec_.progress.back().kind);
    EXPECT_EQ(200u, rec_.hits.size());
}

TEST_F(Search, AnEmptySearchTextStartsNothing) {
    search_->searchText.clear();
    EXPECT_FALSE(Start(*search_));
    EXPECT_EQ(std::vector<std::string>{"No search string defined."}, rec_.messages);
    EXPECT_EQ(0, rec_.done);
}

} // namespace
} // namespace keywright
