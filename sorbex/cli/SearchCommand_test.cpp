// End-to-end runs of the command line over trees made by the tests, against golden outputs.
#include "cli/SearchCommand.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Cp1252.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

// Set SORBEX_UPDATE_GOLDEN=1 to write the outputs as the new golden files; review them.
std::string GoldenPath(const std::string& name) {
    return std::string(SORBEX_CLI_GOLDEN) + "/" + name + ".golden";
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

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

    // The transcript of one run with what varies from run to run made neutral: the
    // tree's place, the separators, the dates and the seconds.
    std::string Transcript(const std::vector<std::string>& args, int& status) {
        std::vector<std::string> real;
        std::string shown = "$ sorbex";
        for (const std::string& arg : args) {
            const bool plain = !arg.empty() && arg.find_first_of(" |&!()*?") == std::string::npos;
            shown += " " + (plain ? arg : "'" + arg + "'");
            std::string value = arg == "ROOT" ? tree.root() : arg;
#ifdef _WIN32
            // The program receives its arguments in the ANSI code page there.
            std::string converted;
            if (Utf8ToCp1252(value, converted))
                value = converted;
#endif
            real.push_back(value);
        }
        std::ostringstream out;
        std::ostringstream err;
        status = RunCli(real, out, err);
        std::string printed = out.str() + "--- stderr\n" + err.str();
#ifdef _WIN32
        printed = Cp1252ToUtf8(printed);
#endif
        std::string text = shown + "\n" + printed + "--- exit " + std::to_string(status) + "\n";
        std::string root = tree.root();
#ifdef _WIN32
        root = Cp1252ToUtf8(root);
#endif
        for (std::size_t at; (at = text.find(root)) != std::string::npos;)
            text.replace(at, root.size(), "ROOT/");
        for (char& c : text)
            if (c == '\\')
                c = '/';
        text = std::regex_replace(text, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d"),
                                  "YYYY-MM-DD hh:mm");
        return std::regex_replace(text, std::regex("\\(\\d+\\.\\d\\d seconds\\)"),
                                  "(N.NN seconds)");
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
    const bool update = std::getenv("SORBEX_UPDATE_GOLDEN") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        std::vector<std::string> args = c.args;
        for (std::string& arg : args)
            if (arg.compare(0, 5, "ROOT/") == 0)
                arg = tree.root() + arg.substr(5);
        int status = -1;
        const std::string transcript = Transcript(args, status);
        EXPECT_EQ(c.status, status);
        if (update) {
            std::ofstream(GoldenPath(c.golden), std::ios::binary) << transcript;
            continue;
        }
        EXPECT_EQ(ReadFile(GoldenPath(c.golden)), transcript);
    }
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

} // namespace
} // namespace sorbex
