// Tests of the search command on a directory tree written for each test.
#include "cli/SearchCommand.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace sorbex {
namespace {
namespace fs = std::filesystem;

class SearchCommandTest : public testing::Test {
protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("sorbex_cli_") + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "sub");
        Write("b.txt", "search and then replace\r\nnothing here\r\n");
        Write("sub/a.txt", "a colour, a grey colour\n");
        Write("c.txt", "only grey\n");
    }
    void TearDown() override { fs::remove_all(root); }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream file(root / name, std::ios::binary);
        file << bytes;
    }

    int Run(std::vector<std::string> args) {
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunCli(args, out, err);
        output = out.str();
        errors = err.str();
        return status;
    }

    std::string Dir() const { return root.generic_u8string(); }

    fs::path root;
    std::string output;
    std::string errors;
};

TEST_F(SearchCommandTest, PrintsFilesInPathOrderWithTheirPassages) {
    EXPECT_EQ(kExitFound, Run({"search", "colou?r|search", "-d", Dir()}));
    EXPECT_EQ(Dir() +
                  "/b.txt\n"
                  "  0-6: [[search]] and then replace\n" +
                  Dir() +
                  "/sub/a.txt\n"
                  "  2-8: a [[colour]], a grey colour\n"
                  "  17-23: a colour, a grey [[colour]]\n",
              output);
    EXPECT_EQ("", errors);
}

TEST_F(SearchCommandTest, OffsetsAreThoseOfTheFile) {
    // The carriage return stays a byte of its own, so "nothing" starts at byte 25.
    EXPECT_EQ(kExitFound, Run({"search", "nothing&20search", "-d", Dir()}));
    EXPECT_EQ(Dir() + "/b.txt\n"
                      "  0-6: [[search]] and then replace\n"
                      "  25-32: [[nothing]] here\n",
              output);
}

TEST_F(SearchCommandTest, ExitStatusTellsWhatHappened) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"search", "colour&!grey", "-d", "DIR"}, kExitNothingFound},
        {{"search", "grey&!colour", "-d", "DIR"}, kExitFound},
        {{"search", "GREY", "--case", "-d", "DIR"}, kExitNothingFound},
        {{"search", "col", "--words", "-d", "DIR"}, kExitNothingFound},
        {{"search", "(grey)", "--tag", "1", "-d", "DIR"}, kExitFound},
        {{"search", "grey", "-d", "DIR/none"}, kExitError},
        {{"search", "a&", "-d", "DIR"}, kExitError},
        {{"search"}, kExitError},
        {{"--help"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        for (std::string& arg : args) {
            if (arg.compare(0, 3, "DIR") == 0) {
                arg = Dir() + arg.substr(3);
            }
        }
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(c.status, Run(args));
    }
}

TEST_F(SearchCommandTest, ReportsExpressionErrorsWithTheirMessage) {
    EXPECT_EQ(kExitError, Run({"search", "x(a&b)", "-d", Dir()}));
    EXPECT_EQ("Error in search expression:\nAn operator (&) is missing between a parenthesized "
              "subexpression and the text beside it.\n",
              errors);
    EXPECT_EQ("", output);

    EXPECT_EQ(kExitError, Run({"search", "(grey)", "--tag", "3", "-d", Dir()}));
    EXPECT_EQ("Error in search expression:\nYou want to replace the subexpression 3, but the "
              "search expression contains only 1 subexpressions.\n",
              errors);
}

TEST_F(SearchCommandTest, MarksOnlyTheChosenSubexpression) {
    EXPECT_EQ(kExitFound, Run({"search", "a (grey) (colour)", "--tag", "2", "-d", Dir()}));
    EXPECT_EQ(Dir() + "/sub/a.txt\n  17-23: a colour, a grey [[colour]]\n", output);
}

TEST_F(SearchCommandTest, FileLevelMatchesAndListings) {
    Write("sub/a.txt", "nothing to see\n");
    EXPECT_EQ(kExitFound, Run({"search", "!colour&!search", "-d", Dir()}));
    EXPECT_EQ(Dir() + "/c.txt\n  (the file matches as a whole)\n" + Dir() +
                  "/sub/a.txt\n  (the file matches as a whole)\n",
              output);

    EXPECT_EQ(kExitFound, Run({"search", "", "-d", Dir()}));
    EXPECT_EQ(Dir() + "/b.txt\n" + Dir() + "/c.txt\n" + Dir() + "/sub/a.txt\n", output);
}

} // namespace
} // namespace sorbex
