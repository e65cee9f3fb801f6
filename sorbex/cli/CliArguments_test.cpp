// Tests of the front end's command line.
#include "cli/CliArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(CliArgumentsTest, ReadsSearchCommands) {
    CliOptions options;
    ASSERT_EQ("", ParseCliArguments(
                      {"search", "a&b", "-d", "x", "--words", "-d", "y", "--case", "--tag", "2"},
                      options));
    EXPECT_EQ("a&b", options.expression);
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), options.directories);
    EXPECT_TRUE(options.wholeWords);
    EXPECT_TRUE(options.matchCase);
    EXPECT_EQ(2, options.tag);

    ASSERT_EQ("", ParseCliArguments({"search", "--", "-x"}, options));
    EXPECT_EQ("-x", options.expression);
    EXPECT_EQ((std::vector<std::string>{"."}), options.directories);
    EXPECT_FALSE(options.matchCase);

    ASSERT_EQ("", ParseCliArguments({"search", "-"}, options));
    EXPECT_EQ("-", options.expression);

    ASSERT_EQ("", ParseCliArguments({"search", ""}, options));
    EXPECT_EQ("", options.expression);

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
        {"search", "a", "--tag"},
        {"search", "a", "--tag", "-1"},
        {"search", "a", "--tag", "two"},
        {"search", "a", "--tag", "99999999999"},
        {"search", "a", "--fast"},
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
