// End-to-end runs of the command line over trees made by the tests, against golden outputs.
#include "cli/SearchCommand.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTranscript_test.h"
#include "platform/testing/TempTree.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorbex {
namespace {

using transcript::ExpectGolden;

class SearchCommandTest : public ::testing::Test {
protected:
    SearchCommandTest() {
        // Names that are their own short names, written as Windows recases them.
        tree.Write("Search.txt", "search and then replace\r\nnothing here\r\n");
        tree.Write("Grey.txt", "only grey\n");
        tree.Write("Notes.log", "grey colour\tin a log\n");
        tree.Write("Sub/Colour.txt", "a colour, a grey colour\n");
        tree.Write("Sub/Deep/Huegel.txt", "Auf dem H\xFCgel gab es Tee.\n");
    }

    std::string Transcript(const std::vector<std::string>& args, int& status) {
        return transcript::Run(args, tree.root(), CCliTerminal(), nullptr, status);
    }

    kestrix::TempTree tree;
};

TEST_F(SearchCommandTest, RunsMatchTheirGoldenOutputs) {
    struct Case {
        const char* golden;
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {"search_passages", {"search", "colou?r|search", "-d", "ROOT"}, kExitFound},
        {"search_proximity", {"search", "nothing&20search", "-d", "ROOT"}, kExitFound},
        {"search_masks_no_subdirs",
         {"search", "grey", "-m", "*.txt", "--mask=*.log", "--no-subdirs", "-d", "ROOT"},
         kExitFound},
        {"search_umlaut_folds", {"search", "H\xC3\x9CGEL", "-d", "ROOT"}, kExitFound},
        {"search_whole_file", {"search", "!colour", "-m", "*.txt", "-d", "ROOT"}, kExitFound},
        {"search_phonetic", {"search", "Culer", "--phonetic", "-d", "ROOT"}, kExitFound},
        {"search_no_passage", {"search", "purple", "-d", "ROOT"}, kExitNothingFound},
        {"search_no_file", {"search", "grey", "-m", "*.doc", "-d", "ROOT"}, kExitNothingFound},
        {"list_all", {"list", "-d", "ROOT"}, kExitFound},
        {"list_empty_expression_no_subdirs",
         {"search", "", "-m", "*.txt", "--no-subdirs", "-d", "ROOT"},
         kExitFound},
        {"error_expression", {"search", "x(a&b)", "-d", "ROOT"}, kExitError},
        {"error_phonetic_empty", {"search", "...", "--phonetic", "-d", "ROOT"}, kExitError},
        {"error_directory", {"search", "grey", "-d", "ROOT/none"}, kExitError},
        {"error_usage", {"search", "grey", "--fast"}, kExitError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        int status = -1;
        const std::string transcript = Transcript(c.args, status);
        EXPECT_EQ(c.status, status);
        ExpectGolden(c.golden, transcript);
    }
}

TEST_F(SearchCommandTest, HtmlIsSearchedAsItsTextUnlessTheInternalFilterIsOff) {
    tree.Write("Page.htm", "<html><body><p>a <b>bold</b> grey</p><script>grey</script>"
                           "</body></html>\r\n");
    struct Case {
        const char* golden;
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"search_html_internal", {"search", "bold&grey", "-m", "*.htm", "-d", "ROOT"}},
        {"search_html_raw",
         {"search", "bold&grey", "-m", "*.htm", "--no-internal-filter", "-d", "ROOT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        int status = -1;
        const std::string transcript = Transcript(c.args, status);
        EXPECT_EQ(kExitFound, status);
        ExpectGolden(c.golden, transcript);
    }
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// One line of text in Windows-1252, in UTF-8 and in UTF-16 with a byte-order mark: one
// search finds all three at the same offsets and prints the same line.
TEST_F(SearchCommandTest, TextFilesInEveryEncodingAreSearchedAsTheirCharacters) {
    tree.Write("Enc/Ansi.txt", "Wir gingen \xFC"
                               "ber den H\xFCgel, dann Tee.\n");
    tree.Write("Enc/Utf8.txt", "Wir gingen \xC3\xBC"
                               "ber den H\xC3\xBCgel, dann Tee.\n");
    tree.Write("Enc/Utf16.txt", transcript::Utf16LeFile("Wir gingen \xFC"
                                                        "ber den H\xFCgel, dann Tee.\r\n"));
    const std::string line = "  20-25: Wir gingen \xC3\xBC"
                             "ber den [[H\xC3\xBCgel]], dann Tee.";
    for (const char* expression : {"H\xC3\xBCgel", "h\xC3\xBCgel", "H.gel"}) {
        SCOPED_TRACE(expression);
        int status = -1;
        const std::string printed =
            Transcript({"search", expression, "-d", tree.root() + "Enc"}, status);
        EXPECT_EQ(kExitFound, status);
        EXPECT_EQ(3u, Occurrences(printed, line)) << printed;
        EXPECT_NE(std::string::npos, printed.find("Files found / total: 3 / 3")) << printed;
    }
    // The same files read byte for byte find only the one in the code page.
    int status = -1;
    const std::string bytewise = Transcript(
        {"search", "H\xC3\xBCgel", "--encoding=ansi", "-d", tree.root() + "Enc"}, status);
    EXPECT_EQ(1u, Occurrences(bytewise, line)) << bytewise;
    EXPECT_NE(std::string::npos, bytewise.find("Ansi.txt")) << bytewise;
}

// Characters the code page lacks match no letter, digit or punctuation, and the lines
// around them are printed with them as they are (on Windows, whose console has the code
// page, as '?').
TEST_F(SearchCommandTest, CharactersOutsideTheCodePageMatchNoLetterAndAreShownIntact) {
    tree.Write("Out/Greek.txt", "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\n");
    tree.Write("Out/Polish.txt", "\xC5\x82\xC4\x85ka und H\xC3\xBCgel\n");
    int status = -1;
    const std::string none = Transcript({"search", "\\w|[a-z0-9]|[#-/:-@]|[\xC3\x80-\xC3\xBF]",
                                         "-m", "Greek.txt", "-d", tree.root() + "Out"},
                                        status);
    EXPECT_EQ(kExitNothingFound, status) << none;
    const std::string found = Transcript(
        {"search", "[a-z\xC3\xA0-\xC3\xBF]*ka", "-m", "Polish.txt", "-d", tree.root() + "Out"},
        status);
    EXPECT_EQ(kExitFound, status);
#ifdef _WIN32
    EXPECT_NE(std::string::npos, found.find("  2-4: ??[[ka]] und H\xC3\xBCgel")) << found;
#else
    EXPECT_NE(std::string::npos, found.find("  2-4: \xC5\x82\xC4\x85[[ka]] und H\xC3\xBCgel"))
        << found;
#endif
}

TEST_F(SearchCommandTest, HelpGoesToStandardOutput) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitFound, RunCli({"search", "x", "--help"}, out, err));
    EXPECT_EQ(0u, out.str().find("Usage: sorbex search EXPRESSION [OPTION]..."));
    EXPECT_EQ("", err.str());
}

bool AlwaysCancelled() {
    return true;
}

TEST_F(SearchCommandTest, CtrlCEndsTheRunAsCancelled) {
    CCliTerminal terminal;
    terminal.cancelSignalled = AlwaysCancelled;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitCancelled, RunCli({"search", "grey", "-d", tree.root()}, out, err, terminal));
    EXPECT_NE(std::string::npos, out.str().find("SEARCHING CANCELED ("));
}

TEST_F(SearchCommandTest, ProgressOnlyOnATerminal) {
    for (bool progress : {false, true}) {
        SCOPED_TRACE(progress);
        CCliTerminal terminal;
        terminal.progress = progress;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(kExitFound, RunCli({"search", "grey", "-d", tree.root()}, out, err, terminal));
        EXPECT_EQ(progress, err.str().find("Scanning ") != std::string::npos);
        EXPECT_EQ(std::string::npos, out.str().find("Scanning "));
    }
}

#ifndef _WIN32
// Issue 21: names were printed raw, and files and folders that could not be searched
// were passed over without a word while the exit status said "nothing found".
TEST_F(SearchCommandTest, HostileNamesAreEscapedAndWhatWasNotSearchedIsReported) {
    tree.Write("\x1b[2JRed.txt", "grey\n");
    tree.Write("Two\nLines.txt", "grey\n");
    ASSERT_EQ(0, ::symlink("nowhere", tree.Path("Gone.txt").c_str()));
    ASSERT_EQ(0, ::mkfifo(tree.Path("Pipe.txt").c_str(), 0600));
    const std::vector<std::string> args = {"search", "grey", "-m", "*.txt", "--no-subdirs",
                                           "-d", "ROOT"};
    int status = -1;
    const std::string transcript = Transcript(args, status);
    EXPECT_EQ(kExitError, status);
    ExpectGolden("search_hostile_tree", transcript);
}

std::atomic<bool> cancelLater{false};

bool CancelAfterAWhile() {
    static const auto start = std::chrono::steady_clock::now();
    return cancelLater && std::chrono::steady_clock::now() - start > std::chrono::milliseconds(200);
}

// Issue 21: Ctrl+C could not end a search while the library was stuck in one line.
TEST_F(SearchCommandTest, CtrlCEndsARunStuckInTheLibrary) {
    std::string slow;
    for (int line = 0; line < 1000; ++line)
        slow += std::string(60, 'a') + " c\n";
    tree.Write("Slow.txt", slow);
    CCliTerminal terminal;
    cancelLater = true;
    terminal.cancelSignalled = CancelAfterAWhile;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitCancelled, RunCli({"search", "(a*)*\\1c", "-m", "Slow.txt", "-d", tree.root()},
                                     out, err, terminal));
    cancelLater = false;
    EXPECT_NE(std::string::npos, out.str().find("SEARCHING CANCELED ("));
}
#endif

} // namespace
} // namespace sorbex
