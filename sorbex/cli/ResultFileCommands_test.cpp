// Runs of `search --save` and `show` over a tree made by the test, against golden outputs.
#include "cli/ResultFileCommands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTranscript_test.h"
#include "cli/SearchCommand.h"
#include "platform/testing/TempTree.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace sorbex {
namespace {

TEST(ResultFileCommandsTest, SavedRunsAreListedAndShownAsTheyWerePrinted) {
    kestrix::TempTree tree;
    tree.Write("Search.txt", "search and then replace\r\nnothing here\r\n");
    tree.Write("Sub/Colour.txt", "a colour, a grey colour\n");
    tree.Write("not-a-result-file.sbx", "plain text");
    struct Step {
        const char* golden;
        std::vector<std::string> args;
        int status;
    };
    // The steps build on each other: the first one creates the file.
    const Step steps[] = {
        {"save_creates_file",
         {"search", "colou?r|search", "-m", "*.txt", "-d", "ROOT", "--save", "ROOT/r.sbx"},
         kExitFound},
        {"save_adds_page", {"list", "-m", "*.txt", "-d", "ROOT", "--save=ROOT/r.sbx"}, kExitFound},
        {"save_empty_page",
         {"search", "purple", "-m", "*.txt", "-d", "ROOT", "--save=ROOT/r.sbx"},
         kExitNothingFound},
        {"show_pages", {"show", "ROOT/r.sbx"}, kExitFound},
        {"show_page", {"show", "ROOT/r.sbx", "--page", "1"}, kExitFound},
        {"show_page_beyond", {"show", "ROOT/r.sbx", "--page=4"}, kExitError},
        {"show_missing_file", {"show", "ROOT/none.sbx"}, kExitError},
        {"show_foreign_file", {"show", "ROOT/not-a-result-file.sbx"}, kExitError},
        {"error_save_without_file", {"search", "x", "--save="}, kExitError},
        {"error_save_into_foreign_file",
         {"search", "grey", "-m", "*.txt", "-d", "ROOT", "--save=ROOT/not-a-result-file.sbx"},
         kExitError},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.golden);
        int status = -1;
        const std::string text =
            transcript::Run(step.args, tree.root(), CCliTerminal(), nullptr, status);
        EXPECT_EQ(step.status, status);
        transcript::ExpectGolden(step.golden, text);
    }
    EXPECT_EQ("plain text", tree.Read("not-a-result-file.sbx"))
        << "neither showing nor a refused save writes";
}

#ifndef _WIN32
// Only regular files are result files: a named pipe is refused at once (it would wait for
// a writer for ever), and a link to a result file is followed and stays a link.
TEST(ResultFileCommandsTest, OnlyRegularFilesAreOpenedOrWrittenAsResultFiles) {
    kestrix::TempTree tree;
    tree.Write("Search.txt", "search me\n");
    const std::string pipe = tree.Path("x.sbx");
    ASSERT_EQ(0, ::mkfifo(pipe.c_str(), 0644));
    const std::string search = tree.root();
    const std::vector<std::vector<std::string>> runs = {
        {"show", pipe},
        {"search", "search", "-m", "*.txt", "-d", search, "--save", pipe},
    };
    for (const auto& args : runs) {
        SCOPED_TRACE(args.front());
        std::ostringstream out, err;
        EXPECT_EQ(kExitError, RunCli(args, out, err, CCliTerminal()));
        EXPECT_NE(std::string::npos, err.str().find(pipe)) << err.str();
        struct stat st {};
        ASSERT_EQ(0, ::lstat(pipe.c_str(), &st));
        EXPECT_TRUE(S_ISFIFO(st.st_mode));
    }

    const std::string link = tree.Path("link.sbx");
    ASSERT_EQ(0, ::symlink("real.sbx", link.c_str()));
    for (int run = 0; run < 2; ++run) { // creates the target, then adds a page to it
        SCOPED_TRACE(run);
        std::ostringstream out, err;
        EXPECT_EQ(kExitFound, RunCli({"search", "search", "-m", "*.txt", "-d", search,
                                      "--save", link},
                                     out, err, CCliTerminal()))
            << err.str();
        struct stat st {};
        ASSERT_EQ(0, ::lstat(link.c_str(), &st));
        EXPECT_TRUE(S_ISLNK(st.st_mode));
    }
    std::ostringstream out, err;
    EXPECT_EQ(kExitFound, RunCli({"show", tree.Path("real.sbx")}, out, err, CCliTerminal()));
    EXPECT_NE(std::string::npos, out.str().find("Page 2")) << out.str();
}
#endif

} // namespace
} // namespace sorbex
