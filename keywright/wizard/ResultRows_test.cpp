// The rows the wizard proposes: their texts for each kind of hit, what does not fit,
// the case rule, and the row selected after a removal.
#include "wizard/ResultRows.h"

#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

std::unique_ptr<SearchHit> Hit(std::uint32_t flags, std::string keyPath, std::string valueName,
                               std::string find, std::string replacement,
                               bool matchCase = false) {
    auto hit = std::make_unique<SearchHit>();
    hit->flags = flags;
    hit->keyPath = std::move(keyPath);
    hit->valueName = std::move(valueName);
    hit->searchText = std::move(find);
    hit->replacementText = std::move(replacement);
    hit->matchCase = matchCase;
    return hit;
}

std::unique_ptr<SearchHit> DataHit(std::uint32_t type, const std::string& bytes, std::string find,
                                   std::string replacement, bool matchCase = false) {
    auto hit = Hit(kHitData, "PC\\HKEY_CURRENT_USER\\Software\\App", "Path", std::move(find),
                   std::move(replacement), matchCase);
    hit->type = type;
    hit->data.assign(bytes.begin(), bytes.end());
    hit->size = static_cast<std::uint32_t>(bytes.size());
    return hit;
}

class Rows : public ::testing::Test {
protected:
    Rows() {
        messages_.bare = [this](const std::string& text) { bare_.push_back(text); };
        messages_.owned = [this](const std::string& text) { owned_.push_back(text); };
    }
    WizardMessages messages_;
    std::vector<std::string> bare_, owned_;
};

TEST_F(Rows, EachKindOfHitShowsItsProposedResult) {
    using namespace kestrix;
    const struct {
        const char* name;
        std::unique_ptr<SearchHit> hit;
        const char* result;
        unsigned type;
    } cases[] = {
        {"key: parent path and new name",
         Hit(kHitKeyName, "PC\\HKEY_CURRENT_USER\\Software\\OldCo\\OldCo Tools", "", "oldco",
             "NewCo"),
         "PC\\HKEY_CURRENT_USER\\Software\\OldCo\\NewCo Tools", kStrRowKey},
        {"value: the new name only",
         Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\Software", "OldCoPath", "OldCo", "NewCo"),
         "NewCoPath", kStrRowValue},
        {"string data", DataHit(kRegSz, std::string("C:\\OldCo\\bin\0", 13), "OldCo", "NewCo"),
         "C:\\NewCo\\bin", kStrRowData},
        {"expandable string data",
         DataHit(kRegExpandSz, std::string("%ProgramFiles%\\OldCo\0", 21), "oldco", "NewCo"),
         "%ProgramFiles%\\NewCo", kStrRowData},
        {"multi-string: the first string, after replacement",
         DataHit(kRegMultiSz, std::string("first\0OldCo second\0\0", 20), "OldCo", "NewCo"),
         "first", kStrRowData},
        {"multi-string matching in its first string",
         DataHit(kRegMultiSz, std::string("a OldCo\0b\0\0", 11), "OldCo", "NewCo"), "a NewCo",
         kStrRowData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned type = TypeTextOf(*c.hit);
        auto row = MakeResultRow(std::make_unique<SearchHit>(*c.hit), messages_);
        ASSERT_TRUE(row);
        EXPECT_EQ(c.result, row->resultText);
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(AppliedState::No, row->applied);
        EXPECT_FALSE(row->undo);
    }
    EXPECT_TRUE(bare_.empty());
}

TEST_F(Rows, TheReplacementFollowsTheSearchsCase) {
    // Found with "Case": only "Foo" is replaced, "foo" stays.
    auto row = MakeResultRow(
        Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\S", "Foo-foo-FOO", "Foo", "Bar", true),
        messages_);
    EXPECT_EQ("Bar-foo-FOO", row->resultText);
    row = MakeResultRow(
        Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\S", "Foo-foo-FOO", "Foo", "Bar", false),
        messages_);
    EXPECT_EQ("Bar-Bar-Bar", row->resultText);
}

TEST_F(Rows, WhatDoesNotFitIsReportedAndTheRowShowsWhatFitted) {
    const std::string longer(300, 'x');
    // Each "a" becomes 300 characters: two of them pass the 511 characters of a value.
    auto row = MakeResultRow(Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\S", "a-a", "a", longer),
                             messages_);
    ASSERT_TRUE(row);
    EXPECT_EQ(longer + "-", row->resultText);
    ASSERT_EQ(1u, bare_.size());
    EXPECT_EQ(KeywrightString(kStrReviewValueError), bare_[0]);

    row = MakeResultRow(DataHit(kestrix::kRegSz, "a a\0", "a", longer), messages_);
    EXPECT_EQ(longer + " ", row->resultText);
    ASSERT_EQ(2u, bare_.size());
    EXPECT_EQ(KeywrightString(kStrReviewDataError), bare_[1]);

    // A key name has room for 8195 characters.
    std::string name(28, 'a');
    row = MakeResultRow(Hit(kHitKeyName, "PC\\HKEY_CURRENT_USER\\" + name, "", "a", longer),
                        messages_);
    EXPECT_EQ(27u * 300u + 21u, row->resultText.size());
    ASSERT_EQ(3u, bare_.size());
    EXPECT_EQ(KeywrightString(kStrReviewKeyError), bare_[2]);
    EXPECT_TRUE(owned_.empty());
}

TEST_F(Rows, AKeyWhoseNameWouldNotChangeIsReported) {
    // Found in the path above it but not in its own name: nothing to rename.
    auto row = MakeResultRow(Hit(kHitKeyName, "PC\\HKEY_CURRENT_USER\\OldCo\\Tools", "", "OldCo",
                                 "NewCo", true),
                             messages_);
    ASSERT_TRUE(row);
    EXPECT_EQ("PC\\HKEY_CURRENT_USER\\OldCo\\Tools", row->resultText);
    ASSERT_EQ(1u, bare_.size());
}

TEST_F(Rows, ARootKeyGivesNoRowAndNoMessage) {
    for (const char* path : {"PC\\HKEY_CURRENT_USER\\", "PC\\HKEY_LOCAL_MACHINE"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(MakeResultRow(Hit(kHitKeyName, path, "", "USER", "PERSON"), messages_));
    }
    EXPECT_TRUE(bare_.empty());
}

TEST(RowSelection, AfterARemovalTheRowAtTheLowestRemovedPlaceOrTheLastIsSelected) {
    const struct {
        std::vector<int> removed;
        int before;
        int selected;
    } cases[] = {
        {{0}, 3, 0},       {{1}, 3, 1},    {{2}, 3, 1}, // the former last row: the one before
        {{1, 2}, 5, 1},    {{3, 4}, 5, 2}, {{0, 4}, 5, 0},
        {{0, 1, 2}, 3, -1}, {{0}, 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.removed) + " of " + std::to_string(c.before));
        EXPECT_EQ(c.selected, RowToSelectAfterRemove(c.removed, c.before));
    }
}

TEST(RowTexts, AppliedColumnTexts) {
    const struct {
        AppliedState state;
        const char* text;
    } cases[] = {
        {AppliedState::No, "No"},         {AppliedState::Yes, "Yes"},
        {AppliedState::Failed, "Failed"}, {AppliedState::Undone, "Undone"},
        {AppliedState::UndoFailed, "Undo Failed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(c.text, KeywrightString(AppliedTextOf(c.state)));
    }
}

} // namespace
} // namespace keywright
