// Tests of the undo journal: a walk kept and put back, edited files, faults, limits, cancels.
#include "undo/UndoJournal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "search/ReplaceTestBed.h"
#include "undo/UndoRestore.h"

namespace sorbex {
namespace {

using kestrix::FileFailure;

constexpr CReplaceConfirmation kYes{CReplaceAnswer::Yes, false};
constexpr CReplaceConfirmation kYesToAll{CReplaceAnswer::Yes, true};
constexpr std::int64_t kNow = 1765280000;

// Sets what the system keeps beside the content: a mode on POSIX, the hidden attribute on
// Windows (a read-only file is not rewritten at all).
void SetUnusualAttributes(const std::string& path, int variant) {
#ifdef _WIN32
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), variant == 0 ? FILE_ATTRIBUTE_HIDDEN
                                                              : FILE_ATTRIBUTE_ARCHIVE));
#else
    namespace fs = std::filesystem;
    const fs::perms modes[] = {fs::perms::owner_read | fs::perms::owner_write,
                               fs::perms::owner_all | fs::perms::group_read,
                               fs::perms::owner_read | fs::perms::owner_write |
                                   fs::perms::others_read};
    fs::permissions(path, modes[variant % 3]);
#endif
}

class UndoJournalTest : public ::testing::Test, protected CReplaceTestBed {
protected:
    UndoJournalTest() {
        journal = tree.Path("journal") + kestrix::kPathSeparator;
        tree.MakeDir("journal");
    }

    // Writes the file under "files/" and records one result per occurrence of `word`.
    void AddFile(const std::string& name, const std::string& bytes, const std::string& word) {
        tree.Write("files/" + name, bytes);
        const std::string dir = tree.Path("files") + kestrix::kPathSeparator;
        for (std::size_t at = bytes.find(word); at != std::string::npos;
             at = bytes.find(word, at + word.size()))
            page.Add(std::make_unique<CSearchResult>(bytes.data(), bytes.size(),
                                                     static_cast<int>(at),
                                                     static_cast<int>(at + word.size()), dir, name));
    }

    std::string FilePath(const std::string& name) const { return tree.Path("files/" + name); }

    std::uint32_t Attributes(const std::string& name) {
        kestrix::FileStatus status;
        EXPECT_FALSE(real->GetFileStatus(FilePath(name), status));
        return status.attributes;
    }

    // One walk over the page with the journal attached, as the front ends run it.
    CReplaceOutcome WalkWithJournal(const std::string& replacement, CUndoLimits limits = {5, 1 << 20}) {
        CUndoRecorder recorder(fs, journal, limits, kNow);
        EXPECT_FALSE(recorder.Begin(BytesToKeep(fs, page)));
        AttachUndoRecorder(context, recorder);
        const CReplaceOutcome outcome = ReplacePassages(&page, 0, replacement, context);
        recorder.End();
        return outcome;
    }

    CUndoReport Undo(bool listOnly = false) {
        CUndoReport report;
        EXPECT_FALSE(UndoLastWalk(fs, journal, listOnly, report));
        return report;
    }

    std::vector<CUndoWalk> Walks() {
        std::vector<CUndoWalk> walks;
        EXPECT_FALSE(ListUndoWalks(fs, journal, walks));
        return walks;
    }

    std::string journal;
};

TEST_F(UndoJournalTest, ThreeFilesComeBackByteForByteWithTheirAttributes) {
    const std::string contents[] = {std::string("red\r\nred\0red\xff", 13), "a red line\n",
                                    "red"};
    const char* names[] = {"one.txt", "two.txt", "three.txt"};
    std::uint32_t attributes[3] = {};
    for (int i = 0; i < 3; ++i) {
        AddFile(names[i], contents[i], "red");
        SetUnusualAttributes(FilePath(names[i]), i);
        attributes[i] = Attributes(names[i]);
    }
    ui.answers = {kYesToAll};
    ASSERT_EQ(WalkWithJournal("crimson").replaced, 5);
    ASSERT_EQ(tree.Read("files/two.txt"), "a crimson line\n");

    const CUndoReport listed = Undo(true);
    EXPECT_EQ(listed.restored.size(), 3u);
    EXPECT_EQ(tree.Read("files/two.txt"), "a crimson line\n"); // listing changes nothing

    const CUndoReport report = Undo();
    EXPECT_EQ(report.restored, (std::vector<std::string>{FilePath("one.txt"), FilePath("two.txt"),
                                                         FilePath("three.txt")}));
    EXPECT_TRUE(report.changed.empty());
    EXPECT_TRUE(report.failed.empty());
    EXPECT_TRUE(report.journalRemoved);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(tree.Read(std::string("files/") + names[i]), contents[i]);
        EXPECT_EQ(Attributes(names[i]), attributes[i]);
    }
    EXPECT_TRUE(Walks().empty());
    EXPECT_FALSE(HasUndoableWalk(fs, journal));
}

TEST_F(UndoJournalTest, FilesChangedOrGoneSinceAreLeftAloneAndNamed) {
    AddFile("kept.txt", "red\n", "red");
    AddFile("edited.txt", "red\n", "red");
    AddFile("gone.txt", "red\n", "red");
    ui.answers = {kYesToAll};
    WalkWithJournal("blue");
    tree.Write("files/edited.txt", "blue, and my own edit\n");
    std::filesystem::remove(FilePath("gone.txt"));

    const CUndoReport report = Undo();
    EXPECT_EQ(report.restored, std::vector<std::string>{FilePath("kept.txt")});
    EXPECT_EQ(report.changed,
              (std::vector<std::string>{FilePath("edited.txt"), FilePath("gone.txt")}));
    EXPECT_EQ(tree.Read("files/kept.txt"), "red\n");
    EXPECT_EQ(tree.Read("files/edited.txt"), "blue, and my own edit\n");
    // The walk stays in the journal: the old content of the edited file is not thrown away.
    EXPECT_FALSE(report.journalRemoved);
    EXPECT_TRUE(HasUndoableWalk(fs, journal));
    const CUndoReport again = Undo();
    EXPECT_EQ(again.alreadyBack, std::vector<std::string>{FilePath("kept.txt")});
    EXPECT_EQ(again.changed.size(), 2u);
}

TEST_F(UndoJournalTest, AnUndoCutOffHalfWayCompletesWhenRunAgain) {
    AddFile("a.txt", "red 1\n", "red");
    AddFile("b.txt", "red 2\n", "red");
    AddFile("c.txt", "red 3\n", "red");
    ui.answers = {kYesToAll};
    WalkWithJournal("green");
    fs.failReplace[FilePath("b.txt")] = FileFailure::NoSpace;

    const CUndoReport cut = Undo();
    ASSERT_EQ(cut.failed.size(), 1u);
    EXPECT_EQ(cut.failed[0].first, FilePath("b.txt"));
    EXPECT_EQ(kestrix::ClassifyFailure(cut.failed[0].second), FileFailure::NoSpace);
    EXPECT_EQ(cut.restored.size(), 2u);
    EXPECT_FALSE(cut.journalRemoved);
    EXPECT_EQ(tree.Read("files/b.txt"), "green 2\n"); // whole, as the walk left it

    fs.failReplace.clear();
    const CUndoReport rerun = Undo();
    EXPECT_EQ(rerun.restored, std::vector<std::string>{FilePath("b.txt")});
    EXPECT_EQ(rerun.alreadyBack, (std::vector<std::string>{FilePath("a.txt"), FilePath("c.txt")}));
    EXPECT_TRUE(rerun.journalRemoved);
    EXPECT_EQ(tree.Read("files/a.txt") + tree.Read("files/b.txt") + tree.Read("files/c.txt"),
              "red 1\nred 2\nred 3\n");
}

TEST_F(UndoJournalTest, ADamagedJournalCopyIsNeverPutInPlace) {
    AddFile("a.txt", "red\n", "red");
    ui.answers = {kYesToAll};
    WalkWithJournal("blue");
    const std::vector<CUndoWalk> walks = Walks();
    ASSERT_EQ(walks.size(), 1u);
    ASSERT_EQ(walks[0].entries.size(), 1u);
    bool created = false;
    ASSERT_FALSE(real->WriteWholeFile(walks[0].entries[0].stem + ".old", "rod\n", created));

    const CUndoReport report = Undo();
    EXPECT_EQ(report.failed.size(), 1u);
    EXPECT_TRUE(report.restored.empty());
    EXPECT_EQ(tree.Read("files/a.txt"), "blue\n");
}

TEST_F(UndoJournalTest, AFileWhoseOldContentCannotBeKeptIsNotRewritten) {
    AddFile("a.txt", "red\n", "red");
    AddFile("b.txt", "red\n", "red");
    ui.answers = {kYesToAll};
    CUndoRecorder recorder(fs, journal, {5, 1 << 20}, kNow);
    ASSERT_FALSE(recorder.Begin(0));
    fs.failCreate[recorder.walkFolder() + "F000001.old"] = FileFailure::NoSpace;
    AttachUndoRecorder(context, recorder);
    const CReplaceOutcome outcome = ReplacePassages(&page, 0, "blue", context);
    recorder.End();

    EXPECT_EQ(outcome.writeFailed, 1);
    EXPECT_EQ(tree.Read("files/a.txt"), "red\n");
    EXPECT_EQ(tree.Read("files/b.txt"), "blue\n");
    const CUndoReport report = Undo();
    EXPECT_EQ(report.restored, std::vector<std::string>{FilePath("b.txt")});
}

TEST_F(UndoJournalTest, AFailedRewriteLeavesNoEntryAndAWalkThatChangedNothingNoFolder) {
    AddFile("a.txt", "red\n", "red");
    fs.failReplace[FilePath("a.txt")] = FileFailure::Locked;
    ui.answers = {kYesToAll};
    EXPECT_EQ(WalkWithJournal("blue").writeFailed, 1);
    EXPECT_TRUE(Walks().empty());
    std::size_t leftovers = 0;
    real->ListDirectory(journal, kestrix::EntryDetail::TypesOnly, [&](const kestrix::DirEntry&) {
        ++leftovers;
        return true;
    });
    EXPECT_EQ(leftovers, 0u);
}

TEST_F(UndoJournalTest, TheJournalKeepsTheLastWalksWithinItsCountAndSize) {
    struct Case {
        const char* name;
        CUndoLimits limits;
        std::size_t walksKept;
    };
    // Each walk keeps one file of 1000 bytes (plus its small records).
    const Case cases[] = {
        {"count", {2, 1 << 20}, 2},
        {"size", {5, 2500}, 2},
        {"count below size", {1, 1 << 20}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int walk = 0; walk < 4; ++walk) {
            page.RemoveAll();
            AddFile("big.txt", std::string(996, 'x') + "red" + static_cast<char>('0' + walk), "red");
            ui.answers = {kYesToAll};
            WalkWithJournal("r" + std::to_string(walk), c.limits);
        }
        const std::vector<CUndoWalk> walks = Walks();
        ASSERT_EQ(walks.size(), c.walksKept);
        // The newest walks stay: the last one undoes the fourth walk.
        std::string old;
        ASSERT_FALSE(real->ReadFile(walks.back().entries[0].stem + ".old", old));
        EXPECT_EQ(old.substr(996), "red3");
        for (const CUndoWalk& walk : walks)
            ASSERT_FALSE(RemoveUndoWalk(fs, walk));
    }
}

TEST_F(UndoJournalTest, AWalkLargerThanTheLimitOrWithUndoTurnedOffKeepsNoJournal) {
    CUndoRecorder tooLarge(fs, journal, {5, 1000}, kNow);
    EXPECT_EQ(kestrix::ClassifyFailure(tooLarge.Begin(1001)), FileFailure::NoSpace);
    CUndoRecorder turnedOff(fs, journal, {0, 1 << 20}, kNow);
    EXPECT_TRUE(turnedOff.Begin(10));
    EXPECT_TRUE(turnedOff.KeepOldContent(FilePath("x"), "old"));
    EXPECT_TRUE(Walks().empty());
}

TEST_F(UndoJournalTest, LimitsComeFromTheProfileWithinTheirRange) {
    struct Case {
        int walks, megabytes;
        int expectedWalks;
        std::uint64_t expectedBytes;
    };
    const Case cases[] = {{-1, -1, 5, 100u << 20}, {0, 1, 0, 1u << 20}, {500, 0, 99, 1u << 20},
                          {3, 20, 3, 20u << 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.walks);
        CMemoryProfile settings;
        if (c.walks >= 0)
            settings.values["Options/UndoWalks"] = c.walks;
        if (c.megabytes >= 0)
            settings.values["Options/UndoMegabytes"] = c.megabytes;
        const CUndoLimits limits = ReadUndoLimits(settings);
        EXPECT_EQ(limits.walks, c.expectedWalks);
        EXPECT_EQ(limits.bytes, c.expectedBytes);
    }
}

TEST_F(UndoJournalTest, UndoAfterACancelledWalkPutsBackExactlyTheFilesItRewrote) {
    AddFile("a.txt", "red\n", "red");
    AddFile("b.txt", "red\n", "red");
    AddFile("c.txt", "red\n", "red");
    // Yes for a, yes for b, then cancel at c's question.
    ui.answers = {kYes, kYes};
    const CReplaceOutcome outcome = WalkWithJournal("blue");
    ASSERT_TRUE(state.quitRequested);
    ASSERT_EQ(outcome.replaced, 2);

    const CUndoReport report = Undo();
    EXPECT_EQ(report.restored, (std::vector<std::string>{FilePath("a.txt"), FilePath("b.txt")}));
    EXPECT_TRUE(report.alreadyBack.empty());
    EXPECT_EQ(tree.Read("files/a.txt") + tree.Read("files/b.txt") + tree.Read("files/c.txt"),
              "red\nred\nred\n");
}

TEST_F(UndoJournalTest, AnEmptyOrMissingJournalHasNothingToUndo) {
    EXPECT_FALSE(HasUndoableWalk(fs, journal));
    CUndoReport report;
    EXPECT_FALSE(UndoLastWalk(fs, journal, false, report));
    EXPECT_FALSE(report.walkFound);
    EXPECT_FALSE(UndoLastWalk(fs, tree.Path("nowhere") + kestrix::kPathSeparator, false, report));
    EXPECT_FALSE(report.walkFound);
}

} // namespace
} // namespace sorbex
