// End-to-end replacements by the command line over trees made by the tests, against golden outputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliTranscript_test.h"
#include "cli/SearchCommand.h"
#include "cli/UndoCommand.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/testing/TempTree.h"

namespace sorbex {
namespace {

using transcript::ExpectGolden;
using transcript::Utf16LeFile;

constexpr const char* kFirst = "grey and grey\r\ngreyish\n";
constexpr const char* kSecond = "one grey line\n";

class ReplaceCommandTest : public ::testing::Test {
protected:
    ReplaceCommandTest() {
        tree.Write("First.txt", kFirst);
        tree.Write("Second.txt", kSecond);
        tree.Write("Sub/Third.txt", "no colour here\n");
    }

    std::string Transcript(const std::vector<std::string>& args, const CCliTerminal& terminal,
                           const char* input, int& status) {
        // The undo journal goes into the test's own place, apart from the searched tree.
        CCliTerminal withJournal = terminal;
        if (withJournal.undoFolder.empty())
            withJournal.undoFolder = journal.root();
        return transcript::Run(args, tree.root(), withJournal, input, status);
    }

    // Puts both files back as the test began; the terminal types `input` into `answers`
    // (null: standard input is no terminal).
    CCliTerminal FreshRun(const char* input, std::istringstream& answers) {
        tree.Write("First.txt", kFirst);
        tree.Write("Second.txt", kSecond);
        answers.str(input != nullptr ? input : "");
        CCliTerminal terminal;
        terminal.answers = &answers;
        terminal.answersInteractive = input != nullptr;
        return terminal;
    }

    kestrix::TempTree tree;
    kestrix::TempTree journal;
};

TEST_F(ReplaceCommandTest, RunsMatchTheirGoldenOutputsAndFiles) {
    struct Case {
        const char* golden;
        std::vector<std::string> args;
        const char* input;          // typed answers; null: standard input is no terminal
        // What becomes of Second.txt between search and replacement.
        enum { Kept, Changed, Removed } secondMeanwhile;
        int status;
        const char* first; // the files' bytes afterwards
        const char* second;
    };
    const Case cases[] = {
        {"replace_all",
         {"replace", "grey", "--with", "blue-green", "--all", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitFound,
         "blue-green and blue-green\r\nblue-greenish\n",
         "one blue-green line\n"},
        {"replace_tag",
         {"replace", "(gr)ey", "--with=GR", "--tag=1", "--all", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitFound,
         "GRey and GRey\r\nGReyish\n",
         "one GRey line\n"},
        {"replace_answers_yes_no_all",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         "y\nno\nmaybe\na\n",
         Case::Kept,
         kExitFound,
         "blue and grey\r\nblueish\n",
         "one blue line\n"},
        {"replace_answers_no_cancel",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         "n\nc\n",
         Case::Kept,
         kExitCancelled,
         kFirst,
         kSecond},
        {"replace_answers_end_early",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         "Y\n",
         Case::Kept,
         kExitFound,
         "blue and grey\r\ngreyish\n",
         kSecond},
        {"replace_changed_file_untouched",
         {"replace", "grey", "--with", "blue", "--all", "-d", "ROOT"},
         nullptr,
         Case::Changed,
         kExitFound,
         "blue and blue\r\nblueish\n",
         "one GREY line\n"},
        // A file gone since the search is named with the reason, and counts as an error.
        {"replace_file_gone_meanwhile",
         {"replace", "grey", "--with", "blue", "--all", "-d", "ROOT"},
         nullptr,
         Case::Removed,
         kExitError,
         "blue and blue\r\nblueish\n",
         ""},
        {"replace_nothing_found",
         {"replace", "purple", "--with", "blue", "--all", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitNothingFound,
         kFirst,
         kSecond},
        {"error_replace_tag_too_high",
         {"replace", "(gr)ey", "--with", "x", "--tag", "2", "--all", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitError,
         kFirst,
         kSecond},
        {"error_replace_without_terminal",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitError,
         kFirst,
         kSecond},
        {"error_replace_without_text",
         {"replace", "grey", "--all", "-d", "ROOT"},
         nullptr,
         Case::Kept,
         kExitError,
         kFirst,
         kSecond},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        std::istringstream answers;
        CCliTerminal terminal = FreshRun(c.input, answers);
        if (c.secondMeanwhile == Case::Changed)
            terminal.beforeReplacing = [this] { tree.Write("Second.txt", "one GREY line\n"); };
        if (c.secondMeanwhile == Case::Removed)
            terminal.beforeReplacing = [this] { std::remove(tree.Path("Second.txt").c_str()); };
        int status = -1;
        std::string transcript = Transcript(c.args, terminal, c.input, status);
        // The system's own words differ between systems.
        const std::string notFound =
            kestrix::OsErrorText(kestrix::NativeCodeFor(kestrix::FileFailure::NotFound));
        for (std::size_t at; (at = transcript.find(notFound)) != std::string::npos;)
            transcript.replace(at, notFound.size(), "<not found>");
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(c.first, tree.Read("First.txt"));
        if (c.secondMeanwhile != Case::Removed) {
            EXPECT_EQ(c.second, tree.Read("Second.txt"));
        }
        EXPECT_EQ("no colour here\n", tree.Read("Sub/Third.txt"));
        ExpectGolden(c.golden, transcript);
    }
}

// Each file is written back in its own encoding, its byte-order mark kept.
TEST_F(ReplaceCommandTest, ReplacesInEachFilesOwnEncoding) {
    tree.Write("Enc/Ansi.txt", "auf den H\xFCgel\n");
    tree.Write("Enc/Utf8.txt", "\xEF\xBB\xBF"
                               "auf den H\xC3\xBCgel\n");
    tree.Write("Enc/Utf16.txt", Utf16LeFile("auf den H\xFCgel\r\n"));
    CCliTerminal terminal;
    int status = -1;
    const std::string printed = Transcript(
        {"replace", "h\xC3\xBCgel", "--with=H\xC3\xB6he", "--all", "-d", tree.root() + "Enc"},
        terminal, nullptr, status);
    EXPECT_EQ(kExitFound, status) << printed;
    EXPECT_EQ("auf den H\xF6he\n", tree.Read("Enc/Ansi.txt"));
    EXPECT_EQ("\xEF\xBB\xBF"
              "auf den H\xC3\xB6he\n",
              tree.Read("Enc/Utf8.txt"));
    EXPECT_EQ(Utf16LeFile("auf den H\xF6he\r\n"), tree.Read("Enc/Utf16.txt"));
}

#ifndef _WIN32
// A replacement with characters the code page lacks goes into a UTF-8 file, and is
// refused with a message for a Windows-1252 one, which stays as it was. (Windows hands
// the program its arguments in the code page: there such a text cannot be given.)
TEST_F(ReplaceCommandTest, RefusesAReplacementTheFilesEncodingCannotHold) {
    tree.Write("Enc/Ansi.txt", "auf den H\xFCgel\n");
    tree.Write("Enc/Utf8.txt", "auf den H\xC3\xBCgel\n");
    CCliTerminal terminal;
    int status = -1;
    const std::string printed = Transcript({"replace", "H\xC3\xBCgel", "--with=\xC5\x82\xC4\x85ka",
                                            "--all", "-d", tree.root() + "Enc"},
                                           terminal, nullptr, status);
    EXPECT_EQ("auf den H\xFCgel\n", tree.Read("Enc/Ansi.txt"));
    EXPECT_EQ("auf den \xC5\x82\xC4\x85ka\n", tree.Read("Enc/Utf8.txt"));
    EXPECT_NE(std::string::npos,
              printed.find("The replacement text holds characters that the encoding of "
                           "\"ROOT/Enc/Ansi.txt\" cannot hold. The file was left as it was."))
        << printed;
    EXPECT_EQ(kExitError, status) << printed;
}
#endif

// Answers typed on a terminal where Ctrl+C is pressed before the answer comes.
class InterruptedAnswers : public std::streambuf {
public:
    explicit InterruptedAnswers(std::string typed) : typed_(std::move(typed)) {}
    static bool interrupted;
    static bool Interrupted() { return interrupted; }

protected:
    int_type underflow() override {
        interrupted = true;
        return at_ < typed_.size() ? traits_type::to_int_type(typed_[at_]) : traits_type::eof();
    }
    int_type uflow() override {
        const int_type c = underflow();
        if (c != traits_type::eof())
            ++at_;
        return c;
    }

private:
    std::string typed_;
    std::size_t at_ = 0;
};
bool InterruptedAnswers::interrupted = false;

TEST_F(ReplaceCommandTest, CtrlCAtAQuestionCancelsAtOnce) {
    InterruptedAnswers typed("y\n");
    std::istream answers(&typed);
    InterruptedAnswers::interrupted = false;
    CCliTerminal terminal;
    terminal.answers = &answers;
    terminal.answersInteractive = true;
    terminal.cancelSignalled = &InterruptedAnswers::Interrupted;
    int status = -1;
    const std::string transcript =
        Transcript({"replace", "grey", "--with", "blue", "-d", "ROOT"}, terminal, "y\n", status);

    EXPECT_EQ(kExitCancelled, status);
    EXPECT_EQ(kFirst, tree.Read("First.txt")); // the "y" typed after Ctrl+C counts no more
    EXPECT_EQ(kSecond, tree.Read("Second.txt"));
    EXPECT_NE(std::string::npos, transcript.find("REPLACING CANCELED")) << transcript;
}

// A replacement and its undo, step by step; the steps with a golden name are compared.
TEST_F(ReplaceCommandTest, UndoPutsBackTheLastReplacementAgainstGoldenOutputs) {
    struct Step {
        const char* golden; // null: not compared
        std::vector<std::string> args;
        std::function<void()> before;
        int status;
        const char* first; // the files' bytes afterwards
        const char* second;
    };
    const std::vector<std::string> replaceAll = {"replace", "grey", "--with", "blue", "--all",
                                                 "-d", "ROOT"};
    constexpr const char* kFirstReplaced = "blue and blue\r\nblueish\n";
    constexpr const char* kSecondReplaced = "one blue line\n";
    const Step steps[] = {
        {"undo_nothing", {"undo"}, nullptr, kExitNothingFound, kFirst, kSecond},
        {nullptr, replaceAll, nullptr, kExitFound, kFirstReplaced, kSecondReplaced},
        {"undo_list", {"undo", "--list"}, nullptr, kExitFound, kFirstReplaced, kSecondReplaced},
        {"undo_all", {"undo"}, nullptr, kExitFound, kFirst, kSecond},
        {"undo_list_after_undo", {"undo", "--list"}, nullptr, kExitNothingFound, kFirst, kSecond},
        {nullptr, replaceAll, nullptr, kExitFound, kFirstReplaced, kSecondReplaced},
        {"undo_changed_file_named",
         {"undo"},
         [this] { tree.Write("Second.txt", "one blue line, edited\n"); },
         kExitError,
         kFirst,
         "one blue line, edited\n"},
        {"undo_list_changed_file",
         {"undo", "--list"},
         nullptr,
         kExitNothingFound,
         kFirst,
         "one blue line, edited\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.golden != nullptr ? step.golden : testing::PrintToString(step.args));
        if (step.before)
            step.before();
        CCliTerminal terminal;
        int status = -1;
        const std::string transcript = Transcript(step.args, terminal, nullptr, status);
        EXPECT_EQ(step.status, status) << transcript;
        EXPECT_EQ(step.first, tree.Read("First.txt"));
        EXPECT_EQ(step.second, tree.Read("Second.txt"));
        if (step.golden != nullptr)
            ExpectGolden(step.golden, transcript);
    }
}

// Files that hold more than the journal may keep: asked, refused without a terminal,
// or replaced without undo when the user says so.
TEST_F(ReplaceCommandTest, AReplacementBeyondTheUndoLimitAsksFirst) {
    struct Case {
        const char* golden;
        std::vector<std::string> args;
        const char* input; // null: standard input is no terminal
        int status;
        bool replaced;
    };
    const Case cases[] = {
        {"error_replace_undo_limit",
         {"replace", "grey", "--with", "blue", "--all", "-d", "ROOT"},
         nullptr,
         kExitError,
         false},
        {"replace_undo_limit_declined",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         "n\n",
         kExitNothingFound,
         false},
        {"replace_undo_limit_accepted",
         {"replace", "grey", "--with", "blue", "-d", "ROOT"},
         "y\na\n",
         kExitFound,
         true},
        {"replace_no_undo",
         {"replace", "grey", "--with", "blue", "--all", "--no-undo", "-d", "ROOT"},
         nullptr,
         kExitFound,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        std::istringstream answers;
        CCliTerminal terminal = FreshRun(c.input, answers);
        terminal.undoLimits = {5, 30}; // First.txt alone holds 23 bytes, both 37
        int status = -1;
        const std::string transcript = Transcript(c.args, terminal, c.input, status);
        EXPECT_EQ(c.status, status) << transcript;
        EXPECT_EQ(c.replaced ? "one blue line\n" : kSecond, tree.Read("Second.txt"));
        CliOptions options;
        std::ostringstream out;
        std::ostringstream err;
        // Nothing was kept: there is nothing to undo.
        auto fs = kestrix::MakeSystemFileSystem();
        ParseCliArguments({"undo"}, options);
        EXPECT_EQ(kExitNothingFound, RunUndoCommand(options, out, err, *fs, journal.root()));
        ExpectGolden(c.golden, transcript);
    }
}

} // namespace
} // namespace sorbex
