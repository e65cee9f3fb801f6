// The wizard's walk on the in-memory registry: define, search, review, apply and
// undo through the same calls the window makes, with failures half way through.
#include "wizard/ReplaceWizard.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/testing/RegistrySnapshot.h"
#include "strings/KeywrightStrings.h"
#include "wizard/WizardStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

using namespace kestrix;

using Snapshot = kestrix::RegistrySnapshot;

const std::vector<std::string> kRoots = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
                                         "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                         "HKEY_CURRENT_CONFIG"};

// The window's part, played by the test: the list is a vector, the search runs at
// once on this thread, and its done message waits until the test delivers it.
class FakeView : public WizardView {
public:
    WizardCriteria criteria;
    std::vector<std::unique_ptr<ResultRow>> rows;
    std::vector<WizardState> shown;
    std::vector<std::string> messages;
    int searches = 0;
    int refreshes = 0;
    bool searchFinishesAtOnce = true;
    ReplaceWizard* wizard = nullptr;

    WizardCriteria ReadCriteria() override { return criteria; }
    void ShowState(WizardState state, const WizardScreen&) override { shown.push_back(state); }
    void ClearResults() override { rows.clear(); }
    bool StartSearch(RegistrySearch& search) override {
        ++searches;
        search.computers = {{"KESTRIX", kRoots}};
        // "Selected Key" is the scratch key.
        search.computerName = "KESTRIX";
        search.rootName = "HKEY_CURRENT_USER";
        search.rootHandle = kHkeyCurrentUser;
        search.startSubkey = "Software\\T";
        search.callbackContext = this;
        search.hitCallback = &OnHit;
        return searchFinishesAtOnce ? Start(search) : true;
    }
    void ShowRunning(bool) override {}
    std::vector<ResultRow*> Rows() override {
        std::vector<ResultRow*> list;
        for (auto& row : rows)
            list.push_back(row.get());
        return list;
    }
    void ShowApplied() override {}
    void RefreshEditor() override { ++refreshes; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> Results() const {
        std::vector<std::string> list;
        for (const auto& row : rows)
            list.push_back(row->resultText);
        return list;
    }
    std::vector<std::string> Applied() const {
        std::vector<std::string> list;
        for (const auto& row : rows)
            list.push_back(KeywrightString(AppliedTextOf(row->applied)));
        return list;
    }

private:
    static void OnHit(void* context, std::unique_ptr<SearchHit> hit) {
        auto* view = static_cast<FakeView*>(context);
        if (auto row = view->wizard->RowFor(std::move(hit)))
            view->rows.push_back(std::move(row));
    }
};

class Wizard : public ::testing::Test {
protected:
    Wizard() : search_(Environment()), wizard_(view_, search_, Access(), Messages()) {
        view_.wizard = &wizard_;
        view_.criteria.findText = "OldCo";
        view_.criteria.replacementText = "NewCo";
        view_.criteria.wholeRegistry = false;
        ScopedRegKey k(reg_);
        EXPECT_EQ(kErrorSuccess, reg_.CreateKey(kHkeyCurrentUser, "Software\\T", k.Receive()));
    }

    SearchEnvironment Environment() {
        SearchEnvironment env;
        env.registry = &reg_;
        env.rootText = "KESTRIX";
        env.showMessage = [this](const std::string& text) { searchMessages_.push_back(text); };
        env.sendDone = [this](void*) { ++doneMessages_; };
        env.startThread = [](std::function<void()> worker) {
            worker();
            return true;
        };
        env.tickCount = [] { return 777u; };
        return env;
    }
    RegistryAccess Access() {
        return RegistryAccess{&reg_, "KESTRIX",
                              [this](const std::string& text) { keyMessages_.push_back(text); }};
    }
    WizardMessages Messages() {
        return WizardMessages{[this](const std::string& text) { bare_.push_back(text); },
                              [this](const std::string& text) { owned_.push_back(text); }};
    }

    void Set(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& bytes) {
        ScopedRegKey k(reg_);
        std::string path = "Software\\T" + (key.empty() ? "" : "\\" + key);
        ASSERT_EQ(kErrorSuccess, reg_.CreateKey(kHkeyCurrentUser, path.c_str(), k.Receive()));
        if (type != kRegNone) {
            ASSERT_EQ(kErrorSuccess, reg_.SetValue(k.get(), name.c_str(), type, bytes.data(),
                                                   std::uint32_t(bytes.size())));
        }
    }

    // The scratch tree: keys (as entries of type REG_NONE) and values.
    Snapshot Take() {
        return TakeRegistrySnapshot(reg_, kHkeyCurrentUser, "Software\\T", SnapshotKeys::WithKeys);
    }

    // Steps 1 to 3: the search runs and ends.
    void Review() {
        wizard_.Open();
        wizard_.Next();
        ASSERT_EQ(kStateSearch, wizard_.state());
        ASSERT_TRUE(wizard_.running());
        EXPECT_EQ(1, doneMessages_);
        EXPECT_FALSE(wizard_.SearchDone());
        wizard_.Next();
        ASSERT_EQ(kStateReview, wizard_.state());
    }
    void ApplyAll() {
        Review();
        wizard_.Next();
        ASSERT_EQ(kStateReady, wizard_.state());
        wizard_.Apply();
    }

    MemoryRegistry reg_;
    std::vector<std::string> searchMessages_, keyMessages_, bare_, owned_;
    int doneMessages_ = 0;
    FakeView view_;
    RegistrySearch search_;
    ReplaceWizard wizard_;
};

TEST_F(Wizard, KeyAndSubkeyAreBothRenamedAndBothRestoredByUndo) {
    Set("OldCo\\OldCo Tools", "Setting", kRegSz, std::string("plain\0", 6));
    Set("OldCo", "Count", kRegDword, std::string("\x07\0\0\0", 4));
    const Snapshot before = Take();
    ApplyAll();
    // Post-order: the subkey's row before its parent's.
    EXPECT_EQ((std::vector<std::string>{"KESTRIX\\HKEY_CURRENT_USER\\Software\\T\\OldCo\\NewCo Tools",
                                        "KESTRIX\\HKEY_CURRENT_USER\\Software\\T\\NewCo"}),
              view_.Results());
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ((std::vector<std::string>{"Yes", "Yes"}), view_.Applied());
    const Snapshot applied = Take();
    EXPECT_EQ((Snapshot{{"\\NewCo", {0, ""}},
                        {"\\NewCo:Count", {kRegDword, std::string("\x07\0\0\0", 4)}},
                        {"\\NewCo\\NewCo Tools", {0, ""}},
                        {"\\NewCo\\NewCo Tools:Setting", {kRegSz, std::string("plain\0", 6)}}}),
              applied);
    EXPECT_EQ(1, view_.refreshes);

    wizard_.Undo();
    EXPECT_EQ(kStateUndone, wizard_.state());
    EXPECT_EQ((std::vector<std::string>{"Undone", "Undone"}), view_.Applied());
    EXPECT_EQ(before, Take());
    EXPECT_EQ(2, view_.refreshes);

    // Undo records stay: Apply in state 6 applies the rows again.
    wizard_.Apply();
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ(applied, Take());
    EXPECT_TRUE(keyMessages_.empty() && bare_.empty() && owned_.empty());
}

TEST_F(Wizard, EveryKindOfPlaceIsReplacedAndOtherDataStaysByteForByte) {
    const std::string multi("first\0has OldCo\0OldCo and oldco\0\0", 33);
    Set("", "", kRegSz, std::string("OldCo default\0", 14));
    Set("", "OldCoName", kRegSz, std::string("x\0", 2));
    Set("", "Sz", kRegSz, std::string("C:\\OldCo\\bin\0", 13));
    Set("", "Expand", kRegExpandSz, std::string("%ProgramFiles%\\OldCo\0", 21));
    Set("", "Multi", kRegMultiSz, multi);
    Set("", "Binary", kRegBinary, std::string("OldCo\0", 6));
    Set("", "Dword", kRegDword, std::string("OldC", 4));
    ApplyAll();
    EXPECT_EQ((std::vector<std::string>{"NewCo default", "NewCoName", "C:\\NewCo\\bin",
                                        "%ProgramFiles%\\NewCo", "first"}),
              view_.Results());
    EXPECT_EQ((Snapshot{
                  {":", {kRegSz, std::string("NewCo default\0", 14)}},
                  {":NewCoName", {kRegSz, std::string("x\0", 2)}},
                  {":Sz", {kRegSz, std::string("C:\\NewCo\\bin\0", 13)}},
                  {":Expand", {kRegExpandSz, std::string("%ProgramFiles%\\NewCo\0", 21)}},
                  {":Multi", {kRegMultiSz, std::string("first\0has NewCo\0NewCo and NewCo\0\0", 33)}},
                  {":Binary", {kRegBinary, std::string("OldCo\0", 6)}},
                  {":Dword", {kRegDword, std::string("OldC", 4)}},
              }),
              Take());
}

TEST_F(Wizard, ACaseSensitiveSearchReplacesOnlyTheTextInItsCase) {
    view_.criteria.matchCase = true;
    view_.criteria.findText = "Foo";
    view_.criteria.replacementText = "Bar";
    Set("", "Foo-foo", kRegSz, std::string("Foo foo FOO\0", 12));
    Set("", "Multi", kRegMultiSz, std::string("foo\0Foo foo\0\0", 13));
    ApplyAll();
    EXPECT_EQ((Snapshot{{":Bar-foo", {kRegSz, std::string("Bar foo FOO\0", 12)}},
                        {":Multi", {kRegMultiSz, std::string("foo\0Bar foo\0\0", 13)}}}),
              Take());
}

TEST_F(Wizard, WholeStringOnlyChangesOnlyTheStringsThatAreTheText) {
    view_.criteria.wholeString = true;
    Set("", "List", kRegMultiSz, std::string("OldCo Tools\0oldco\0OldCo\0\0", 25));
    Set("", "OldCo", kRegSz, std::string("OldCo!\0", 7));
    ApplyAll();
    EXPECT_EQ((std::vector<std::string>{"OldCo Tools", "NewCo"}), view_.Results());
    EXPECT_EQ((Snapshot{{":List", {kRegMultiSz, std::string("OldCo Tools\0NewCo\0NewCo\0\0", 25)}},
                        {":NewCo", {kRegSz, std::string("OldCo!\0", 7)}}}),
              Take());
}

TEST_F(Wizard, AValueRenameFailingHalfWayIsMarkedFailedAndTheWalkGoesOn) {
    Set("", "OldCo1", kRegSz, std::string("a\0", 2));
    Set("", "OldCo2", kRegSz, std::string("b\0", 2));
    Review();
    wizard_.Next();
    // The first rename writes its new name, then cannot delete the old one.
    reg_.FailChangesAfter(1, kErrorAccessDenied, 1);
    wizard_.Apply();
    EXPECT_EQ((std::vector<std::string>{"Failed", "Yes"}), view_.Applied());
    ASSERT_EQ(1u, owned_.size());
    EXPECT_EQ("Error renaming value : KESTRIX\\HKEY_CURRENT_USER\\Software\\T:OldCo1", owned_[0]);
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ((Snapshot{{":OldCo1", {kRegSz, std::string("a\0", 2)}},
                        {":NewCo1", {kRegSz, std::string("a\0", 2)}},
                        {":NewCo2", {kRegSz, std::string("b\0", 2)}}}),
              Take());

    // Undo leaves the failed row alone.
    wizard_.Undo();
    EXPECT_EQ((std::vector<std::string>{"Failed", "Undone"}), view_.Applied());
    EXPECT_EQ((Snapshot{{":OldCo1", {kRegSz, std::string("a\0", 2)}},
                        {":NewCo1", {kRegSz, std::string("a\0", 2)}},
                        {":OldCo2", {kRegSz, std::string("b\0", 2)}}}),
              Take());
}

TEST_F(Wizard, AnUndoThatFailsIsMarkedAndTheUndoGoesOn) {
    Set("", "Data1", kRegSz, std::string("OldCo 1\0", 8));
    Set("", "Data2", kRegSz, std::string("OldCo 2\0", 8));
    ApplyAll();
    ASSERT_EQ((std::vector<std::string>{"Yes", "Yes"}), view_.Applied());
    // Undo goes from the last row: its write fails, the first row's succeeds.
    reg_.FailChangesAfter(0, kErrorAccessDenied, 1);
    wizard_.Undo();
    EXPECT_EQ((std::vector<std::string>{"Undone", "Undo Failed"}), view_.Applied());
    EXPECT_EQ(kStateUndone, wizard_.state());
    EXPECT_EQ((Snapshot{{":Data1", {kRegSz, std::string("OldCo 1\0", 8)}},
                        {":Data2", {kRegSz, std::string("NewCo 2\0", 8)}}}),
              Take());
}

TEST_F(Wizard, ARenameOntoATakenNameIsLeftAloneRatherThanMerged) {
    Set("OldCo", "x", kRegSz, std::string("1\0", 2));
    Set("NewCo", "x", kRegSz, std::string("2\0", 2));
    Set("", "OldCoValue", kRegSz, std::string("a\0", 2));
    Set("", "NewCoValue", kRegSz, std::string("b\0", 2));
    const Snapshot before = Take();
    ApplyAll();
    EXPECT_EQ((std::vector<std::string>{"Failed", "Failed"}), view_.Applied());
    EXPECT_EQ(before, Take());
    const std::string t = "KESTRIX\\HKEY_CURRENT_USER\\Software\\T";
    EXPECT_EQ((std::vector<std::string>{
                  t + "\\OldCo was left as it is: " + t + "\\NewCo exists already.",
                  t + ":OldCoValue was left as it is: " + t + ":NewCoValue exists already."}),
              owned_);
}

TEST_F(Wizard, AChangeInCaseOnlyIsNoTakenName) {
    view_.criteria.findText = "oldco";
    view_.criteria.replacementText = "OLDCO";
    Set("OldCo", "OldCoValue", kRegSz, std::string("a\0", 2));
    ApplyAll();
    EXPECT_EQ((std::vector<std::string>{"Yes", "Yes"}), view_.Applied());
    EXPECT_EQ((Snapshot{{"\\OLDCO", {0, ""}}, {"\\OLDCO:OLDCOValue", {kRegSz, std::string("a\0", 2)}}}),
              Take());
}

TEST_F(Wizard, DataChangedSinceTheSearchIsLeftAlone) {
    Set("", "Path", kRegSz, std::string("C:\\OldCo\0", 9));
    Review();
    wizard_.Next();
    Set("", "Path", kRegSz, std::string("D:\\OldCo\0", 9));
    wizard_.Apply();
    EXPECT_EQ((std::vector<std::string>{"Failed"}), view_.Applied());
    EXPECT_EQ((Snapshot{{":Path", {kRegSz, std::string("D:\\OldCo\0", 9)}}}), Take());
    ASSERT_EQ(1u, owned_.size());
    EXPECT_EQ("KESTRIX\\HKEY_CURRENT_USER\\Software\\T:Path was left as it is: its data has "
              "changed since the search.",
              owned_[0]);
}

TEST_F(Wizard, WhatChangedSinceTheApplyIsNotUndone) {
    Set("", "Path", kRegSz, std::string("C:\\OldCo\0", 9));
    Set("", "OldCoValue", kRegSz, std::string("v\0", 2));
    ApplyAll();
    ASSERT_EQ((std::vector<std::string>{"Yes", "Yes"}), view_.Applied());
    Set("", "Path", kRegSz, std::string("E:\\NewCo\0", 9));
    Set("", "OldCoValue", kRegSz, std::string("w\0", 2));
    wizard_.Undo();
    EXPECT_EQ((std::vector<std::string>{"Undo Failed", "Undo Failed"}), view_.Applied());
    EXPECT_EQ((Snapshot{{":Path", {kRegSz, std::string("E:\\NewCo\0", 9)}},
                        {":OldCoValue", {kRegSz, std::string("w\0", 2)}},
                        {":NewCoValue", {kRegSz, std::string("v\0", 2)}}}),
              Take());
    EXPECT_EQ(2u, owned_.size());
}

TEST_F(Wizard, AReplacementWithABackslashLeavesTheKeyAndChangesTheRest) {
    // A key name cannot hold a backslash: renaming would copy the key into a nested
    // path, here below itself. Value names and data can hold one.
    view_.criteria.replacementText = "New\\Co";
    Set("OldCo", "Name OldCo", kRegSz, std::string("at OldCo\0", 9));
    const Snapshot before = Take();
    ApplyAll();
    // Post-order: the value's data, its name, then the key itself.
    EXPECT_EQ((std::vector<std::string>{"at New\\Co", "Name New\\Co",
                                        "KESTRIX\\HKEY_CURRENT_USER\\Software\\T\\New\\Co"}),
              view_.Results());
    EXPECT_EQ((std::vector<std::string>{"Yes", "Yes", "Failed"}), view_.Applied());
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ((Snapshot{{"\\OldCo", {0, ""}},
                        {"\\OldCo:Name New\\Co", {kRegSz, std::string("at New\\Co\0", 10)}}}),
              Take());
    EXPECT_FALSE(keyMessages_.empty() && owned_.empty()); // the refusal is said
    wizard_.Undo();
    EXPECT_EQ((std::vector<std::string>{"Undone", "Undone", "Failed"}), view_.Applied());
    EXPECT_EQ(before, Take());
}

TEST_F(Wizard, RemovingAllRowsAndApplyingChangesNothing) {
    Set("OldCo", "OldCo", kRegSz, std::string("OldCo\0", 6));
    const Snapshot before = Take();
    Review();
    ASSERT_EQ(3u, view_.rows.size());
    view_.rows.clear();
    wizard_.Next();
    wizard_.Apply();
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ(before, Take());
}

TEST_F(Wizard, AfterApplyTheWayBackIsClosed) {
    Set("", "OldCo", kRegSz, std::string("x\0", 2));
    ApplyAll();
    ASSERT_EQ(kStateApplied, wizard_.state());
    EXPECT_FALSE(ScreenOf(wizard_.state()).backEnabled);
    const std::size_t shown = view_.shown.size();
    wizard_.Back();
    wizard_.Next();
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ(shown, view_.shown.size());
    wizard_.Undo();
    wizard_.Back();
    EXPECT_EQ(kStateUndone, wizard_.state());
}

TEST_F(Wizard, AnApplyStoppedByANameTooLongLeavesTheRowsBeforeItUndoable) {
    // Found by "x", each "x" of the second name grows to 255 characters: more than the
    // 2047 an applied name may take.
    view_.criteria.findText = "x";
    view_.criteria.replacementText = std::string(255, 'y');
    Set("", "ax", kRegSz, std::string("1\0", 2));
    Set("", std::string(9, 'x'), kRegSz, std::string("2\0", 2));
    Set("", "bx", kRegSz, std::string("3\0", 2));
    const Snapshot before = Take();
    ApplyAll();
    ASSERT_EQ(3u, view_.rows.size());
    EXPECT_EQ((std::vector<std::string>{"Yes", "No", "No"}), view_.Applied());
    ASSERT_EQ(2u, bare_.size()); // the review's, then the apply's
    EXPECT_EQ(KeywrightString(kStrReviewValueError), bare_[0]);
    EXPECT_EQ(KeywrightString(kStrApplyValueTooLong), bare_[1]);
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ(1, view_.refreshes);
    wizard_.Undo();
    EXPECT_EQ((std::vector<std::string>{"Undone", "No", "No"}), view_.Applied());
    EXPECT_EQ(before, Take());
}

TEST_F(Wizard, AnApplyStoppedAtItsFirstRowKeepsTheState) {
    view_.criteria.findText = "x";
    view_.criteria.replacementText = std::string(255, 'y');
    Set("", std::string(9, 'x'), kRegSz, std::string("2\0", 2));
    Set("", "ax", kRegSz, std::string("1\0", 2));
    const Snapshot before = Take();
    ApplyAll();
    EXPECT_EQ(kStateReady, wizard_.state());
    EXPECT_EQ((std::vector<std::string>{"No", "No"}), view_.Applied());
    EXPECT_EQ(0, view_.refreshes);
    EXPECT_EQ(before, Take());
    // The row can be removed and the rest applied.
    wizard_.Back();
    ASSERT_EQ(kStateReview, wizard_.state());
    view_.rows.erase(view_.rows.begin());
    wizard_.Next();
    wizard_.Apply();
    EXPECT_EQ(kStateApplied, wizard_.state());
    EXPECT_EQ((std::vector<std::string>{"Yes"}), view_.Applied());
}

TEST_F(Wizard, EntryChecksRefuseThroughTheWizardsBox) {
    wizard_.Open();
    view_.criteria.replacementText = "";
    wizard_.Next();
    view_.criteria.replacementText = "OldCo";
    wizard_.Next();
    EXPECT_EQ(kStateDefine, wizard_.state());
    EXPECT_EQ(0, view_.searches);
    view_.criteria.replacementText = "NewCo";
    view_.searchFinishesAtOnce = false; // a search that keeps running
    wizard_.Next();
    EXPECT_EQ(kStateSearch, wizard_.state());
    wizard_.Next();
    wizard_.Back();
    EXPECT_EQ(kStateSearch, wizard_.state());
    EXPECT_EQ((std::vector<std::string>{KeywrightString(kStrBothTexts),
                                        KeywrightString(kStrTextsIdentical),
                                        KeywrightString(kStrStopBeforeNext),
                                        KeywrightString(kStrStopBeforeBack)}),
              view_.messages);
    // Closing during the search stops it; the window goes with the done message.
    EXPECT_FALSE(wizard_.Close());
    EXPECT_TRUE(search_.stopEvent);
    EXPECT_TRUE(wizard_.SearchDone());
    EXPECT_TRUE(wizard_.Close());
}

TEST_F(Wizard, GoingBackFromReviewSearchesAgain) {
    Set("", "OldCo", kRegSz, std::string("x\0", 2));
    Review();
    ASSERT_EQ(1u, view_.rows.size());
    Set("", "OldCo2", kRegSz, std::string("y\0", 2));
    wizard_.Back();
    EXPECT_EQ(kStateSearch, wizard_.state());
    EXPECT_EQ(2, view_.searches);
    EXPECT_EQ(2u, view_.rows.size());
    EXPECT_TRUE(search_.suppressHkcu && search_.suppressHkcr && search_.suppressHkcc);
    EXPECT_FALSE(search_.currentUserOnly);
}

TEST_F(Wizard, TheWholeRegistryListsWhatTwoRootsShowOnlyOnce) {
    view_.criteria.wholeRegistry = true;
    Set("OldCo", "", kRegNone, "");
    ScopedRegKey k(reg_);
    ASSERT_EQ(kErrorSuccess,
              reg_.CreateKey(kHkeyLocalMachine, "Software\\Classes\\OldCoFile", k.Receive()));
    Review();
    EXPECT_EQ((std::vector<std::string>{"KESTRIX\\HKEY_CLASSES_ROOT\\NewCoFile",
                                        "KESTRIX\\HKEY_CURRENT_USER\\Software\\T\\NewCo"}),
              view_.Results());
}

} // namespace
} // namespace keywright
