// Tests of checking the search directories, with prompts for missing media.
#include "search/DirectoryCheck.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"
#include "search/FileListUiRecorder.h"

namespace sorbex {
namespace {

using kestrix::DriveType;

class DirectoryCheckTest : public ::testing::Test {
protected:
    DirectoryCheckTest() {
        tree.MakeDir("a");
        tree.MakeDir("b");
        tree.Write("file.txt", "x");
    }

    // The item as CheckDirectories passes it to the file system.
    std::string Item(const std::string& relative) const {
        return tree.Path(relative) + kestrix::kPathSeparator;
    }

    kestrix::TempTree tree;
    std::unique_ptr<kestrix::FileSystem> real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs{*real};
    CFileListUiRecorder ui;
    std::vector<std::string> dirs;
};

TEST_F(DirectoryCheckTest, EveryItemBecomesAFullPathWithSeparator) {
    const std::string text = " " + tree.Path("b") + " | " + Item("a") + " |";
    EXPECT_EQ(1, CheckDirectories(text, fs, ui, dirs));
    EXPECT_EQ(std::vector<std::string>({Item("b"), Item("a")}), dirs);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(DirectoryCheckTest, EmptyListPasses) {
    EXPECT_EQ(1, CheckDirectories("  |  ", fs, ui, dirs));
    EXPECT_TRUE(dirs.empty());
}

TEST_F(DirectoryCheckTest, WhatIsNoDirectoryStopsTheRun) {
    for (const char* relative : {"missing", "file.txt"}) {
        SCOPED_TRACE(relative);
        CFileListUiRecorder fresh;
        const std::string text = tree.Path("a") + "|" + tree.Path(relative);
        EXPECT_EQ(0, CheckDirectories(text, fs, fresh, dirs));
        EXPECT_EQ(std::vector<std::string>{"The directory name is invalid."}, fresh.errors);
        EXPECT_TRUE(dirs.empty());
    }
}

TEST_F(DirectoryCheckTest, MissingMediumIsAskedForUntilThereOrCancelled) {
    const std::string root = fs.RootOf(Item("a"));
    struct Case {
        const char* name;
        DriveType drive;
        int failures;
        std::deque<bool> answers;
        int result;
        std::size_t questions;
        const char* prompt;
    };
    const Case cases[] = {
        {"disc inserted after two prompts",
         DriveType::Removable,
         2,
         {true, true},
         1,
         2,
         "Please insert a disc in drive \"%1\" and press Ok."},
        {"disc prompt cancelled",
         DriveType::Removable,
         5,
         {true, false},
         0,
         2,
         "Please insert a disc in drive \"%1\" and press Ok."},
        {"CD ROM inserted",
         DriveType::CdRom,
         1,
         {true},
         1,
         1,
         "Please insert a CD ROM in drive \"%1\" and press OK."},
        {"CD ROM prompt cancelled",
         DriveType::CdRom,
         1,
         {false},
         0,
         1,
         "Please insert a CD ROM in drive \"%1\" and press OK."},
        {"fixed drive: no prompt", DriveType::Fixed, 1, {}, 1, 0, ""},
        {"network drive: no prompt", DriveType::Remote, 1, {}, 1, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs.failFullPathTimes[Item("a")] = c.failures;
        fs.driveTypes[root] = c.drive;
        CFileListUiRecorder fresh;
        fresh.answers = c.answers;
        EXPECT_EQ(c.result, CheckDirectories(tree.Path("a"), fs, fresh, dirs));
        ASSERT_EQ(c.questions, fresh.questions.size());
        std::string expected = c.prompt;
        if (const auto insertion = expected.find("%1"); insertion != std::string::npos)
            expected.replace(insertion, 2, root);
        for (const std::string& question : fresh.questions)
            EXPECT_EQ(expected, question);
        EXPECT_TRUE(fresh.errors.empty()) << "a cancel ends the run quietly";
        EXPECT_EQ(c.result == 1 ? std::vector<std::string>{Item("a")} : std::vector<std::string>{},
                  dirs);
    }
}

} // namespace
} // namespace sorbex
