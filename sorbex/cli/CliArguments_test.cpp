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

    EXPECT_TRUE(options.internalFilter);
    EXPECT_TRUE(options.externalFilter);
    EXPECT_EQ(0, options.threads) << "one per processor unless given";

    ASSERT_EQ("", ParseCliArguments({"search", "x", "-j", "1"}, options));
    EXPECT_EQ(1, options.threads);
    ASSERT_EQ("", ParseCliArguments({"list", "--threads=12"}, options));
    EXPECT_EQ(12, options.threads);

    ASSERT_EQ(
        "", ParseCliArguments({"search", "Meier", "--phonetic", "--no-external-filter"}, options));
    EXPECT_TRUE(options.phonetic);
    EXPECT_TRUE(options.internalFilter);
    EXPECT_FALSE(options.externalFilter);

    EXPECT_EQ(CEncodingChoice::Auto, options.encoding);
    ASSERT_EQ("", ParseCliArguments({"search", "x", "--encoding=utf-16le"}, options));
    EXPECT_EQ(CEncodingChoice::Utf16Le, options.encoding);
    ASSERT_EQ("", ParseCliArguments({"replace", "x", "--with=y", "--encoding", "ANSI"}, options));
    EXPECT_EQ(CEncodingChoice::Ansi, options.encoding);
    EXPECT_EQ("invalid encoding 'utf-16' (auto, ansi, utf-8, utf-16le or utf-16be)",
              ParseCliArguments({"search", "x", "--encoding=utf-16"}, options));

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

TEST(CliArgumentsTest, ReadsReplaceCommands) {
    struct Case {
        std::vector<std::string> args;
        std::string replacement;
        int tag;
        bool all;
    };
    const Case cases[] = {
        {{"replace", "a", "--with", "b"}, "b", 0, false},
        {{"replace", "a", "--with="}, "", 0, false},
        {{"replace", "(a)b", "--with=x", "--tag=1", "--all"}, "x", 1, true},
        {{"replace", "--all", "(a)b", "--tag", "5", "--with", "-d"}, "-d", 5, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        CliOptions options;
        ASSERT_EQ("", ParseCliArguments(c.args, options));
        EXPECT_TRUE(options.replace);
        EXPECT_EQ(c.replacement, options.replacement);
        EXPECT_EQ(c.tag, options.replaceTag);
        EXPECT_EQ(c.all, options.replaceAll);
    }
}

TEST(CliArgumentsTest, ReadsUndoCommands) {
    CliOptions options;
    ASSERT_EQ("", ParseCliArguments({"undo"}, options));
    EXPECT_TRUE(options.undo);
    EXPECT_FALSE(options.undoList);
    ASSERT_EQ("", ParseCliArguments({"undo", "--list"}, options));
    EXPECT_TRUE(options.undoList);
    ASSERT_EQ("", ParseCliArguments({"replace", "a", "--with=b", "--no-undo"}, options));
    EXPECT_TRUE(options.noUndo);
    EXPECT_FALSE(options.undo);
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
        {"search", "a", "--with", "b"},
        {"search", "a", "--all"},
        {"replace", "a"},
        {"replace", "", "--with", "b"},
        {"replace", "a", "--with"},
        {"replace", "a", "--with", "b", "--tag", "6"},
        {"replace", "a", "--with", "b", "--tag=-1"},
        {"replace", "a", "--with", "b", "--tag", "12"},
        {"search", "a", "-j"},
        {"search", "a", "-j", "0"},
        {"search", "a", "--threads=-2"},
        {"search", "a", "--threads=4x"},
        {"search", "a", "--threads=1000"},
        {"search", "a", "--threads="},
        {"search", "a", "--no-undo"},
        {"undo", "--all"},
        {"undo", "last"},
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
