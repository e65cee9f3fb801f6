// Tests of the replacement walk: order, questions, refusals, shifted offsets, file trouble.
#include "search/ReplacePassages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "search/ReplaceTestBed.h"
#include "strings/SorbexStrings.h"
#include "text/CleanText.h"

namespace sorbex {
namespace {

using kestrix::FileFailure;

constexpr CReplaceConfirmation kYes{CReplaceAnswer::Yes, false};
constexpr CReplaceConfirmation kNo{CReplaceAnswer::No, false};
constexpr CReplaceConfirmation kYesToAll{CReplaceAnswer::Yes, true};
constexpr CReplaceConfirmation kNoThenAll{CReplaceAnswer::No, true};
constexpr CReplaceConfirmation kCancel{CReplaceAnswer::Cancel, false};

class ReplacePassagesTest : public ::testing::Test, protected CReplaceTestBed {
protected:
    // Writes the file and records one result per occurrence of `word`, as a search would.
    void AddFile(const std::string& name, const std::string& bytes, const std::string& word,
                 int flags = 0) {
        tree.Write(name, bytes);
        std::string text = bytes;
        CleanText(text.data(), text.size());
        const std::size_t first = page.size();
        for (std::size_t at = text.find(word); at != std::string::npos;
             at = text.find(word, at + word.size())) {
            auto result = std::make_unique<CSearchResult>(
                text.data(), text.size(), static_cast<int>(at), static_cast<int>(at + word.size()),
                tree.root(), name);
            result->flags = flags | (page.size() == first ? kResultFirstOfFile : 0);
            page.Add(std::move(result));
        }
        for (std::size_t i = first; i < page.size(); ++i)
            page[i].passageCount = static_cast<int>(page.size() - first);
    }

    CReplaceOutcome Walk(std::size_t startIndex, const std::string& replacement) {
        return ReplacePassages(&page, startIndex, replacement, context);
    }
};

TEST_F(ReplacePassagesTest, SeveralPassagesOfOneFileGiveExactlyTheExpectedBytes) {
    const std::string before =
        std::string("cat\r\n\x80 cat\0cat|\xff\r\n", 18) + "the cat sat on the cat\r\n";
    AddFile("a.txt", before, "cat");
    ASSERT_EQ(page.size(), 5u);
    ui.answers = {kYesToAll};

    const CReplaceOutcome outcome = Walk(0, "tiger");

    EXPECT_EQ(tree.Read("a.txt"), std::string("tiger\r\n\x80 tiger\0tiger|\xff\r\n", 24) +
                                      "the tiger sat on the tiger\r\n");
    EXPECT_EQ(outcome.replaced, 5);
    EXPECT_EQ(ui.questions.size(), 1u);
    const int expectedStarts[] = {0, 9, 15, 28, 45};
    for (std::size_t i = 0; i < page.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page[i].start, expectedStarts[i]);
        EXPECT_EQ(page[i].end, expectedStarts[i] + 5);
        EXPECT_NE(page[i].flags & kResultReplaced, 0);
    }
}

TEST_F(ReplacePassagesTest, StartsAtTheChosenResultAndWrapsAround) {
    AddFile("a.txt", "x1 x2 x3 x4 x5", "x");
    ui.answers = {kYes, kYes, kYes, kYes, kYes};

    Walk(2, "yy");

    EXPECT_EQ(ui.shown, (std::vector<std::size_t>{2, 3, 4, 0, 1}));
    EXPECT_EQ(ui.replaced, (std::vector<std::size_t>{2, 3, 4, 0, 1}));
    EXPECT_EQ(tree.Read("a.txt"), "yy1 yy2 yy3 yy4 yy5");
    EXPECT_EQ(ui.questions.front(), "Do you want to replace \"x\" with \"yy\"?");
}

TEST_F(ReplacePassagesTest, AnswersDecideWhatIsReplaced) {
    struct Case {
        const char* what;
        std::vector<CReplaceConfirmation> answers;
        const char* after;
        int questions;
        bool cancelled;
    };
    const Case cases[] = {
        {"yes and no in turn", {kYes, kNo, kYes, kNo}, "B a B a", 4, false},
        {"no with replace all skips only the current passage", {kNoThenAll}, "a B B B", 1, false},
        {"cancel ends the walk", {kYes, kCancel}, "B a a a", 2, true},
        {"a same-length text keeps the length", {kYesToAll}, "B B B B", 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.RemoveAll();
        state.quitRequested = false;
        ui.questions.clear();
        AddFile("f.txt", "a a a a", "a");
        ui.answers.assign(c.answers.begin(), c.answers.end());

        const CReplaceOutcome outcome = Walk(0, "B");

        EXPECT_EQ(tree.Read("f.txt"), c.after);
        EXPECT_EQ(static_cast<int>(ui.questions.size()), c.questions);
        EXPECT_EQ(outcome.cancelled, c.cancelled);
        EXPECT_EQ(state.quitRequested, c.cancelled);
    }
}

TEST_F(ReplacePassagesTest, TheWarningFollowsTheProfileAndStoresItsCheckBox) {
    struct Case {
        const char* what;
        int stored; // -1: not in the profile
        bool checked;
        int warnings;
        int storedAfter;
    };
    const Case cases[] = {
        {"not set: shown, box left clear", -1, false, 1, 0},
        {"not set: shown, box ticked", -1, true, 1, 1},
        {"set: not shown", 1, false, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.RemoveAll();
        ui.warnings = 0;
        profile.values.clear();
        if (c.stored >= 0)
            profile.values["Options/NoReplaceWarning"] = c.stored;
        ui.warningNoLonger = c.checked;
        AddFile("f.txt", "a", "a");
        ui.answers = {kYes};

        Walk(0, "b");

        EXPECT_EQ(ui.warnings, c.warnings);
        EXPECT_EQ(profile.values["Options/NoReplaceWarning"], c.storedAfter);
        EXPECT_EQ(tree.Read("f.txt"), "b"); // the walk goes on after the warning
    }
}

TEST_F(ReplacePassagesTest, ConvertedResultsAreRefusedOncePerWalk) {
    AddFile("a.rtf", "word word", "word", kResultConverted);
    AddFile("b.doc", "word", "word", kResultConverted | kResultExternal);
    ui.answers = {kYesToAll};

    const CReplaceOutcome outcome = Walk(0, "x");

    EXPECT_EQ(ui.messages, std::vector<std::string>{SorbexString(IDS_CONVERTED_NOT_REPLACEABLE)});
    EXPECT_EQ(outcome.refused, 3);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(tree.Read("a.rtf"), "word word");
    EXPECT_EQ(tree.Read("b.doc"), "word");

    Walk(0, "x"); // a new walk tells it again
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(ReplacePassagesTest, ASecondWalkOffersOnlyWhatIsNotReplacedYet) {
    AddFile("f.txt", "a a a", "a");
    ui.answers = {kNo, kYes, kNo};
    Walk(0, "bb");
    ui.questions.clear();
    ui.answers = {kYesToAll};

    Walk(0, "bb");

    EXPECT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(tree.Read("f.txt"), "bb bb bb");
}

TEST_F(ReplacePassagesTest, AFileChangedSinceTheSearchIsLeftUntouched) {
    AddFile("a.txt", "one one one", "one");
    AddFile("b.txt", "one", "one");
    tree.Write("a.txt", "two one one");
    ui.answers = {kYesToAll};

    const CReplaceOutcome outcome = Walk(0, "1");

    EXPECT_EQ(tree.Read("a.txt"), "two one one");
    EXPECT_EQ(tree.Read("b.txt"), "1");
    EXPECT_EQ(outcome.changed, 3);
    EXPECT_EQ(ui.messages, std::vector<std::string>{FormatSorbexString(
                               IDS_FILE_CHANGED_NOT_REPLACED, {tree.Path("a.txt")})});
    EXPECT_EQ(page[0].flags & kResultReplaced, 0);
}

TEST_F(ReplacePassagesTest, AFailedWriteKeepsTheOldFileAndIsReportedOnce) {
    AddFile("a.txt", "one\r\none", "one");
    AddFile("b.txt", "one", "one");
    fs.failReplace[tree.Path("a.txt")] = FileFailure::NoSpace;
    ui.answers = {kYesToAll};

    const CReplaceOutcome outcome = Walk(0, "1");

    EXPECT_EQ(tree.Read("a.txt"), "one\r\none");
    EXPECT_EQ(tree.Read("b.txt"), "1");
    EXPECT_EQ(outcome.writeFailed, 2);
    EXPECT_EQ(fs.replaceCalls, 2); // one for each file, not one per passage
    const std::string reason =
        kestrix::OsErrorText(kestrix::NativeCodeFor(FileFailure::NoSpace));
    EXPECT_EQ(ui.messages, std::vector<std::string>{FormatSorbexString(
                               IDS_FILE_NOT_WRITTEN, {tree.Path("a.txt"), reason})});
    EXPECT_EQ(page[0].flags & kResultReplaced, 0);
    EXPECT_EQ(page[1].start, 5); // nothing was written, so nothing moved
}

TEST_F(ReplacePassagesTest, AFileIsWrittenOnceWithTheBytesOfReplacingOneByOne) {
    struct Case {
        const char* what;
        std::size_t start;
        std::vector<CReplaceConfirmation> answers;
        const char* after;
        int writes;
    };
    const Case cases[] = {
        {"all of them", 0, {kYesToAll}, "[ab] x [ab] [ab]", 1},
        {"some declined", 0, {kYes, kNo, kYes}, "[ab] x ab [ab]", 1},
        {"none accepted", 0, {kNo, kNo, kNo}, "ab x ab ab", 0},
        // From the middle the walk leaves the file at its end and comes back later.
        {"a walk that goes round", 1, {kYesToAll}, "[ab] x [ab] [ab]", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.RemoveAll();
        fs.replaceCalls = 0;
        AddFile("f.txt", "ab x ab ab", "ab");
        ui.answers.assign(c.answers.begin(), c.answers.end());

        Walk(c.start, "[ab]");

        EXPECT_EQ(tree.Read("f.txt"), c.after);
        EXPECT_EQ(fs.replaceCalls, c.writes);
        // Every result addresses its passage in the new content.
        const std::string now = tree.Read("f.txt");
        for (std::size_t i = 0; i < page.size(); ++i) {
            SCOPED_TRACE(i);
            const bool replaced = (page[i].flags & kResultReplaced) != 0;
            EXPECT_EQ(now.substr(static_cast<std::size_t>(page[i].start),
                                 static_cast<std::size_t>(page[i].end - page[i].start)),
                      replaced ? "[ab]" : "ab");
        }
    }
}

TEST_F(ReplacePassagesTest, ACancelDuringAQuestionWritesNothingMore) {
    struct Case {
        const char* what;
        std::vector<CReplaceConfirmation> answers;
        int quitAtQuestion;
        const char* after;
    };
    const Case cases[] = {
        {"the first question", {kYes, kYes}, 0, "a a"},
        {"a later question: what was accepted before it stays", {kYes, kYes}, 1, "b a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.RemoveAll();
        state.quitRequested = false;
        ui.questions.clear();
        AddFile("f.txt", "a a", "a");
        AddFile("g.txt", "a", "a");
        ui.answers.assign(c.answers.begin(), c.answers.end());
        ui.quitAtQuestion = c.quitAtQuestion;

        const CReplaceOutcome outcome = Walk(0, "b");

        EXPECT_EQ(tree.Read("f.txt"), c.after);
        EXPECT_EQ(tree.Read("g.txt"), "a");
        EXPECT_TRUE(outcome.cancelled);
        EXPECT_EQ(static_cast<int>(ui.questions.size()), c.quitAtQuestion + 1);
    }
}

TEST_F(ReplacePassagesTest, TheOldContentIsKeptBeforeTheRewrite) {
    AddFile("a.txt", "one one", "one");
    AddFile("b.txt", "one", "one");
    std::vector<std::string> kept;
    context.keepOldContent = [&](const std::string& path, const std::string& old) {
        kept.push_back(path + "=" + old + "/" + tree.Read(path.substr(tree.root().size())));
        // Where the old content cannot be kept, the file is not rewritten.
        return path == tree.Path("b.txt")
                   ? kestrix::MakeOsError("keep", path, kestrix::NativeCodeFor(FileFailure::NoSpace))
                   : kestrix::OsError();
    };
    ui.answers = {kYesToAll};

    const CReplaceOutcome outcome = Walk(0, "1");

    EXPECT_EQ(kept, (std::vector<std::string>{tree.Path("a.txt") + "=one one/one one",
                                              tree.Path("b.txt") + "=one/one"}));
    EXPECT_EQ(tree.Read("a.txt"), "1 1");
    EXPECT_EQ(tree.Read("b.txt"), "one");
    EXPECT_EQ(outcome.writeFailed, 1);
}

TEST_F(ReplacePassagesTest, AFileThatCannotBeReadIsNamedOnceWithTheSystemsReason) {
    AddFile("a.txt", "one one", "one");
    AddFile("b.txt", "one", "one");
    fs.failRead[tree.Path("a.txt")] = FileFailure::Locked;
    ui.answers = {kYesToAll};

    // From the second passage the walk meets a.txt twice: it is told about once.
    const CReplaceOutcome outcome = Walk(1, "1");

    const std::string reason = kestrix::OsErrorText(kestrix::NativeCodeFor(FileFailure::Locked));
    EXPECT_EQ(ui.messages, std::vector<std::string>{FormatSorbexString(
                               IDS_FILE_NOT_READ, {tree.Path("a.txt"), reason})});
    EXPECT_EQ(outcome.readFailed, 2);
    EXPECT_EQ(tree.Read("a.txt"), "one one");
    EXPECT_EQ(tree.Read("b.txt"), "1");
}

// A file that the replacements would take past the offsets a result can hold is left
// whole, with a reason that says so, and without making its new content first.
TEST_F(ReplacePassagesTest, AFileThatWouldGrowPastTheLargestOffsetIsLeftAsItWas) {
    std::string words;
    for (int i = 0; i < 20000; ++i)
        words += "a ";
    AddFile("big.txt", words, "a");
    AddFile("small.txt", "a", "a");
    ASSERT_EQ(page.size(), 20001u);
    ui.answers = {kYesToAll};

    // 20,000 times 110,000 bytes is 2.2 GB.
    const CReplaceOutcome outcome = Walk(0, std::string(110000, 'b'));

    EXPECT_EQ(tree.Read("big.txt"), words);
    EXPECT_EQ(tree.Read("small.txt"), std::string(110000, 'b'));
    EXPECT_EQ(fs.replaceCalls, 1);
    EXPECT_EQ(outcome.writeFailed, 20000);
    EXPECT_EQ(outcome.replaced, 1);
    EXPECT_EQ(ui.messages, std::vector<std::string>{FormatSorbexString(
                               IDS_FILE_WOULD_BE_TOO_LARGE, {tree.Path("big.txt")})});
    EXPECT_EQ(page[0].flags & kResultReplaced, 0);
}

TEST_F(ReplacePassagesTest, OnlyPassagesOfTheSameFileMove) {
    AddFile("a.txt", "ab ab", "ab");
    AddFile("b.txt", "ab ab", "ab");
    ui.answers = {kYes, kNo, kNo, kNo};

    Walk(0, "abcd");

    const int expectedStarts[] = {0, 5, 0, 3};
    for (std::size_t i = 0; i < page.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(page[i].start, expectedStarts[i]);
    }
    EXPECT_EQ(ui.deltas, std::vector<int>{2});
}

TEST_F(ReplacePassagesTest, AQuitWhileShowingAResultEndsTheWalk) {
    AddFile("f.txt", "a a", "a");
    ui.quitAtPump = 1;
    ui.answers = {kYes, kYes};

    const CReplaceOutcome outcome = Walk(0, "b");

    EXPECT_EQ(tree.Read("f.txt"), "b a");
    EXPECT_TRUE(outcome.cancelled);
}

TEST_F(ReplacePassagesTest, StartReplacementAtRunsOnlyWhenNothingElseRuns) {
    struct Case {
        const char* what;
        bool searching, replacing, hasPage;
        bool runs;
    };
    const Case cases[] = {
        {"idle", false, false, true, true},
        {"a search runs", true, false, true, false},
        {"a replacement runs", false, true, true, false},
        {"no page", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        page.RemoveAll();
        AddFile("f.txt", "a", "a");
        state.searching = c.searching;
        state.replacing = c.replacing;
        state.quitRequested = true; // left over from an earlier walk
        ui.answers = {kYes};

        const bool ran = StartReplacementAt(c.hasPage ? &page : nullptr, 0, "b", context, nullptr);

        EXPECT_EQ(ran, c.runs);
        EXPECT_EQ(tree.Read("f.txt"), c.runs ? "b" : "a");
        if (c.runs) {
            EXPECT_FALSE(state.replacing);
            EXPECT_FALSE(state.quitRequested);
        }
    }
    EXPECT_EQ(ui.commandUpdates, 1);
}

} // namespace
} // namespace sorbex
