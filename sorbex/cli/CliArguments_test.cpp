// Tests of the front end's command line.
#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(CliArgumentsTest, ReadsSearchAndListCommands) {
    CliOptions options;
    ASSERT_EQ("", ParseCliArguments({"search", "a&b", "-d", "x", "--words", "--directory=y",
                                     "--case", "-m", "*.c", "--mask=*.h", "--no-subdirs"},
                                    options));
    EXPECT_EQ("a&b", options.expression);
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), options.directories);
    EXPECT_EQ((std::vector<std::string>{"*.c", "*.h"}), options.masks);
    EXPECT_TRUE(options.wholeWords);
    EXPECT_TRUE(options.matchCase);
    EXPECT_FALSE(options.withSubdirectories);
    EXPECT_FALSE(options.phonetic);

    ASSERT_EQ("", ParseCliArguments({"search", "Meier", "--phonetic"}, options));
    EXPECT_TRUE(options.phonetic);

    ASSERT_EQ("", ParseCliArguments({"search", "--", "-x"}, options));
    EXPECT_EQ("-x", options.expression);
    EXPECT_EQ((std::vector<std::string>{"."}), options.directories);
    EXPECT_EQ((std::vector<std::string>{"*"}), options.masks);
    EXPECT_TRUE(options.withSubdirectories);
    EXPECT_FALSE(options.matchCase);

    ASSERT_EQ("", ParseCliArguments({"search", "--", "--help"}, options));
    EXPECT_EQ("--help", options.expression);
    EXPECT_FALSE(options.help);

    ASSERT_EQ("", ParseCliArguments({"search", ""}, options));
    EXPECT_EQ("", options.expression);

    ASSERT_EQ("", ParseCliArguments({"list", "-m", "*.txt"}, options));
    EXPECT_EQ("", options.expression);
    EXPECT_EQ((std::vector<std::string>{"*.txt"}), options.masks);

    ASSERT_EQ("", ParseCliArguments({"search", "x", "--help"}, options));
    EXPECT_TRUE(options.help);
}

TEST(CliArgumentsTest, RejectsBadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"find", "x"},
        {"search"},
        {"search", "a", "b"},
        {"search", "a", "-d"},
        {"search", "a", "-m"},
        {"search", "a", "--fast"},
        {"search", "a", "--tag", "1"},
        {"list", "a"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(testing::PrintToString(args));
        CliOptions options;
        EXPECT_NE("", ParseCliArguments(args, options));
        EXPECT_FALSE(options.help);
    }
}

} // namespace
} // namespace sorbex
