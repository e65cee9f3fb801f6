// Loading texts through the real converter bridge under Windows: our test converter is
// registered in the registry, found, loaded in the helper process and its texts cached;
// when it crashes, hangs or floods, only its file is read as bytes, and the user is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>
#include <tlhelp32.h>

#include "platform/CompoundStorage.h"
#include "platform/testing/ProcessUsage.h"
#include "platform/testing/TempTree.h"
#include "platform/win32/Win32Registry.h"
#include "cache/DocCache.h"
#include "cli/SearchCommand.h"
#include "text/FileTextLoader.h"
#include "text/TextConverterList.h"
#include "text/win32/Win32HelperLink.h"

namespace sorbex {
namespace {

// The third of the keys the converters are read from, where our entries go.
const char* const kImportKey = "Software\\Microsoft\\Word\\7.0\\Text Converters\\Import";
const char* const kEntries[] = {"KestrixTest", "KestrixMissing", "KestrixNoExtensions"};

// Tests run in parallel in one prefix: each process has entries and names of its own.
std::string Own(const char* text) {
    return text + std::to_string(GetCurrentProcessId());
}

// The library's path as this program sees it: Wine shows the build tree on Z:.
std::string TestConverterPath() {
    std::string path = KESTRIX_TESTCONVERTER_DLL;
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class ConverterSearchTest : public ::testing::Test {
protected:
    struct Sink : CTextSink {
        std::string text;
        int flags = 0;
        void ProcessMessages() override {}
        bool CancelRequested() const override { return false; }
        void SearchText(const std::shared_ptr<const std::string>& t, int originFlags) override {
            text = *t;
            flags = originFlags;
        }
    };

    void SetUp() override {
        // The registry is the prefix's: one test at a time may have converters in it.
        serial_ = CreateMutexA(nullptr, FALSE, "KestrixConverterSearchTest");
        ASSERT_NE(nullptr, serial_);
        ASSERT_NE(WAIT_FAILED, WaitForSingleObject(serial_, 120000));
        Register(kEntries[0], "Kestrix test ", "ktc", TestConverterPath());
        Register(kEntries[1], "Kestrix missing ", "mis", tree.Path("nowhere.cnv"));
        Register(kEntries[2], "Kestrix no extensions ", "", TestConverterPath());
        SetEnvironmentVariableA("KESTRIX_TESTCONVERTER_LOG", tree.Path("converter.log").c_str());
        BuildSystemConverterList(converters, *libraries, *fs);
        loader.SetConverters(&converters);
        ASSERT_TRUE(cache.OpenAt(tree.Path("cache.tmp")));
        loader.SetCache(&cache);
    }
    void TearDown() override {
        cache.Close();
        SetEnvironmentVariableA("KESTRIX_TESTCONVERTER_LOG", nullptr);
        kestrix::RegKey import = 0;
        if (registry.OpenKey(kestrix::kHkeyCurrentUser, kImportKey, kestrix::RegAccess::ReadWrite,
                             &import) != kestrix::kErrorSuccess)
            return;
        for (const char* entry : kEntries)
            registry.DeleteKey(import, Own(entry).c_str());
        registry.CloseKey(import);
    }
    ~ConverterSearchTest() override {
        if (serial_) {
            ReleaseMutex(serial_);
            CloseHandle(serial_);
        }
    }

    void Register(const char* entry, const char* name, const char* extensions,
                  const std::string& path) {
        const std::string key = std::string(kImportKey) + "\\" + Own(entry);
        kestrix::RegKey handle = 0;
        ASSERT_EQ(kestrix::kErrorSuccess,
                  registry.CreateKey(kestrix::kHkeyCurrentUser, key.c_str(), &handle));
        const std::pair<const char*, std::string> values[] = {
            {"Name", Own(name)}, {"Extensions", extensions}, {"Path", path}};
        for (const auto& value : values)
            registry.SetValue(handle, value.first, kestrix::kRegSz, value.second.c_str(),
                              static_cast<std::uint32_t>(value.second.size() + 1));
        registry.CloseKey(handle);
    }

    // "name|flags|text" (without the line breaks at its end) of every file of docs/, loaded as a
    // search with both filters on loads it.
    std::vector<std::string> LoadAll() {
        CTextLoadOptions options;
        options.useInternalFilter = true;
        options.useExternalFilter = true;
        std::vector<std::string> loaded;
        fs->ListDirectory(
            tree.Path("docs/"), kestrix::EntryDetail::SizeAndTime,
            [&](const kestrix::DirEntry& entry) {
                sink.text.clear();
                if (loader.LoadFileText(tree.Path("docs/"), entry.name, options, &sink).outcome ==
                    CTextLoadOutcome::Handed)
                    loaded.push_back(entry.name + "|" + std::to_string(sink.flags) + "|" +
                                     sink.text.substr(0, sink.text.find_last_not_of('\n') + 1));
                return true;
            });
        std::sort(loaded.begin(), loaded.end());
        return loaded;
    }
    // The lines the converter logged since the last call.
    std::vector<std::string> Logged() {
        const std::string log = tree.Read("converter.log");
        std::vector<std::string> lines;
        std::size_t start = logged_;
        for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(log.substr(start, end - start));
        logged_ = start;
        return lines;
    }

    kestrix::TempTree tree;
    kestrix::Win32Registry registry;
    std::unique_ptr<kestrix::FileSystem> fs = kestrix::MakeSystemFileSystem();
    std::unique_ptr<CConverterLoader> libraries = MakeSystemConverterLoader();
    CTextConverterList converters;
    CDocCache cache{*fs, kestrix::SystemCompoundFiles()};
    CFileTextLoader loader{*fs};
    Sink sink;

private:
    HANDLE serial_ = nullptr;
    std::size_t logged_ = 0;
};

TEST_F(ConverterSearchTest, OnlyTheCompleteEntryWithAnExistingLibraryIsListed) {
    std::vector<std::string> ours;
    for (std::size_t i = 0; i < converters.size(); ++i)
        if (converters[i].name().find(Own(" ")) != std::string::npos)
            ours.push_back(converters[i].DisplayText());
    EXPECT_EQ(std::vector<std::string>{Own("Kestrix test ") + " (*.ktc)"}, ours);
}

TEST_F(ConverterSearchTest, VisibleTextIsLoadedAndConvertedTextComesBackFromTheCache) {
    tree.Write("docs/page.htm", "<html><p>alpha <b>one</b></p><script>hidden</script></html>");
    tree.Write("docs/doc.rtf", "{\\rtf1{\\fonttbl{\\f0 Hidden;}}\\f0 alpha two\\par}");
    tree.Write("docs/report.ktc", "KTCV\nalpha three {braces}\n");
    tree.Write("docs/empty.ktc", "KTCV EMPTY\nalpha four");
    tree.Write("docs/over.ktc", "KTCV OVERSIZE\nalpha five\n");
    tree.Write("docs/nothing.ktc", "");
    tree.Write("docs/x.mis", "alpha six");

    // Scripts and font tables are no text; the empty file is never handed over; the
    // converter's refused output and its empty one leave the raw bytes.
    const std::vector<std::string> expected = {
        "doc.rtf|8|alpha two",  "empty.ktc|0|KTCV EMPTY\nalpha four",
        "nothing.ktc|0|",       "over.ktc|0|KTCV OVERSIZE\nalpha five",
        "page.htm|8|alpha one", "report.ktc|24|alpha three {braces}",
        "x.mis|0|alpha six",
    };
    EXPECT_EQ(expected, LoadAll());
    const auto converts = [](const std::vector<std::string>& lines) {
        return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
            return line.compare(0, 8, "convert ") == 0;
        });
    };
    std::vector<std::string> log = Logged();
    EXPECT_EQ(3, converts(log)) << ::testing::PrintToString(log);
    EXPECT_EQ(4, std::count(log.begin(), log.end(), "init SORBEX")) << "each load initialises once";

    // Texts and negative entries come from the cache: the library is not even loaded.
    EXPECT_EQ(expected, LoadAll());
    EXPECT_EQ(std::vector<std::string>{}, Logged());

    tree.Write("docs/report.ktc", "KTCV\nalpha changed\n");
    const std::vector<std::string> again = LoadAll();
    EXPECT_NE(again.end(), std::find(again.begin(), again.end(), "report.ktc|24|alpha changed"));
    log = Logged();
    EXPECT_EQ(1, converts(log)) << ::testing::PrintToString(log);
}

TEST_F(ConverterSearchTest, AConverterThatCrashesCostsOnlyItsFileAndIsNotRunOnItAgain) {
    ASSERT_FALSE(FindConverterHelper().empty()) << "the helper is built beside this test";
    tree.Write("docs/a.ktc", "KTCV\nalpha before\n");
    tree.Write("docs/crash.ktc", "KTCV CRASH\nalpha crash\n");
    tree.Write("docs/z.ktc", "KTCV\nalpha after\n");

    // The crashing file is read as its bytes; the files after it convert in a new helper.
    const std::vector<std::string> expected = {
        "a.ktc|24|alpha before",
        "crash.ktc|0|KTCV CRASH\nalpha crash",
        "z.ktc|24|alpha after",
    };
    EXPECT_EQ(expected, LoadAll());
    EXPECT_EQ(nullptr, GetModuleHandleA(TestConverterPath().c_str()))
        << "the converter ran in this process";
    const std::vector<std::string> log = Logged();
    EXPECT_EQ(3, std::count_if(log.begin(), log.end(), [](const std::string& line) {
                  return line.compare(0, 8, "convert ") == 0;
              })) << ::testing::PrintToString(log);

    // The failure stays with the file until it changes: the converter is not run again.
    EXPECT_EQ(expected, LoadAll());
    EXPECT_EQ(std::vector<std::string>{}, Logged());
}

TEST_F(ConverterSearchTest, TheCommandLineNamesTheFileAndTheConverterThatCrashedOnIt) {
    tree.Write("docs/a.ktc", "KTCV\nalpha before\n");
    tree.Write("docs/crash.ktc", "KTCV CRASH\nalpha crash\n");
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunCli({"search", "alpha", "-d", tree.Path("docs")}, out, err);
    const std::string said = err.str();
    EXPECT_NE(std::string::npos, said.find("sorbex: The converter \"" + TestConverterPath() +
                                           "\" crashed while reading the file \""))
        << said;
    // Windows shows a name that is its own short name recased.
    std::string lower = said;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(std::string::npos,
              lower.find("\\crash.ktc\". the file was searched as it is, without conversion.\n"))
        << said;
    // Both files were found; that one was searched only as its bytes is an error.
    EXPECT_NE(std::string::npos, out.str().find("]] crash")) << out.str();
    EXPECT_NE(std::string::npos, out.str().find("]] before")) << out.str();
    EXPECT_EQ(kExitError, status);
}

TEST_F(ConverterSearchTest, AConverterThatHangsOrFloodsCostsOnlyItsFileAndIsNotRunOnItAgain) {
    // The limits are the test's, so that the hanging converter costs seconds, not a minute.
    CHelperLimits limits;
    limits.callMs = 10000;
    limits.convertMs = 3000;
    limits.maxRtf = std::size_t(64) << 10;
    const std::unique_ptr<CConverterLoader> helper =
        MakeHelperConverterLoader(FindConverterHelper(), limits);
    std::vector<std::string> failures;
    helper->SetFailureHandler(
        [&](const std::string& library, const std::string& file, CConverterFailure failure) {
            failures.push_back(FileExtension(library) + " " + file.substr(file.rfind('\\') + 1) +
                               " " + std::to_string(static_cast<int>(failure)));
        });
    CTextConverterList limited;
    BuildSystemConverterList(limited, *helper, *fs);
    loader.SetConverters(&limited);
    loader.SetCache(nullptr);
    tree.Write("docs/a.ktc", "KTCV\nalpha before\n");
    tree.Write("docs/flood.ktc", "KTCV FLOOD\nalpha flood\n");
    tree.Write("docs/hang.ktc", "KTCV HANG\nalpha hang\n");
    tree.Write("docs/z.ktc", "KTCV\nalpha after\n");

    const std::vector<std::string> expected = {
        "a.ktc|24|alpha before",
        "flood.ktc|0|KTCV FLOOD\nalpha flood",
        "hang.ktc|0|KTCV HANG\nalpha hang",
        "z.ktc|24|alpha after",
    };
    EXPECT_EQ(expected, LoadAll());
    std::sort(failures.begin(), failures.end()); // in the order the folder lists them
    const std::vector<std::string> given = {
        "dll flood.ktc " + std::to_string(static_cast<int>(CConverterFailure::TooLarge)),
        "dll hang.ktc " + std::to_string(static_cast<int>(CConverterFailure::Hung)),
    };
    EXPECT_EQ(given, failures);

    // Without the cache the helper's loader remembers them: no second wait, no flood.
    EXPECT_EQ(expected, LoadAll());
    EXPECT_EQ(given.size(), failures.size());
}

// The helper processes this process has started that still run.
int RunningHelpers() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int helpers = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ParentProcessID == GetCurrentProcessId() &&
            lstrcmpiA(entry.szExeFile, "sorbexconv.exe") == 0)
            ++helpers;
    CloseHandle(snapshot);
    return helpers;
}

TEST_F(ConverterSearchTest, ManyFilesThroughOneLoaderLeaveNoProcessOrHandleBehind) {
    constexpr int kFiles = 24;
    constexpr int kCrashEvery = 12;
    constexpr int kRounds = 3;
    std::unique_ptr<CConverterLoader> helper =
        MakeHelperConverterLoader(FindConverterHelper(), CHelperLimits());
    int failed = 0;
    helper->SetFailureHandler([&](const std::string&, const std::string&, CConverterFailure) {
        ++failed;
    });
    CTextConverterList many;
    BuildSystemConverterList(many, *helper, *fs);
    loader.SetConverters(&many);
    loader.SetCache(nullptr);

    std::uintptr_t reachAfterFirst = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Changed crashing files are tried again, so that each round crashes as many times.
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "docs/f%03d.ktc", i);
            tree.Write(name, i % kCrashEvery == 0
                                 ? "KTCV CRASH\n" + std::string(round + 1, 'x') + "\n"
                                 : "KTCV\nalpha " + std::to_string(i) + "\n");
        }
        const std::vector<std::string> loaded = LoadAll();
        ASSERT_EQ(static_cast<std::size_t>(kFiles), loaded.size());
        EXPECT_EQ("f001.ktc|24|alpha 1", loaded[1]);
        EXPECT_EQ((round + 1) * kFiles / kCrashEvery, failed);
        EXPECT_LE(RunningHelpers(), 1);
        // The first round opens what stays open (the system's own lazily made handles).
        if (round == 0)
            reachAfterFirst = kestrix::HandleReach();
        else
            EXPECT_LE(kestrix::HandleReach(), reachAfterFirst);
    }
    Logged(); // the converter's log is not looked at here
    helper.reset();
    EXPECT_EQ(0, RunningHelpers());
}

TEST(ConverterHelperLinkTest, TheHelperInheritsOnlyItsPipes) {
    // An inheritable pipe of the program's: while a process holds its writing end, its
    // reading end sees no end of the stream.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    ASSERT_TRUE(CreatePipe(&reading, &writing, &inherit, 0));
    const std::string helperPath = FindConverterHelper();
    ASSERT_FALSE(helperPath.empty()) << "the helper is built beside this test";
    CWin32HelperLink link(helperPath);
    ASSERT_TRUE(link.Start());
    // The helper runs and answers: it has started with whatever it inherited.
    ASSERT_TRUE(link.Write(EncodeHelperFrame(CHelperKind::Unload, {})));
    CHelperFrame answer;
    ASSERT_EQ(CLinkStatus::Ok, ReadHelperFrame(link, 0, 10000, answer));
    EXPECT_EQ(CHelperKind::Yes, answer.kind);

    CloseHandle(writing);
    DWORD waiting = 0;
    EXPECT_FALSE(PeekNamedPipe(reading, nullptr, 0, nullptr, &waiting, nullptr))
        << "the helper holds the program's pipe";
    EXPECT_EQ(static_cast<DWORD>(ERROR_BROKEN_PIPE), GetLastError());
    link.Stop();
    CloseHandle(reading);
}

} // namespace
} // namespace sorbex
