// Key copy, delete and rename, value rename and data replacement on the in-memory
// registry, including failures half way through.
#include "registry/KeyOperations.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/testing/RegistrySnapshot.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

using namespace kestrix;

using Snapshot = kestrix::RegistrySnapshot;

class KeyOperations : public ::testing::Test {
protected:
    KeyOperations() {
        access_.registry = &reg_;
        access_.rootText = reg_.ComputerName();
        access_.showMessage = [this](const std::string& text) { messages_.push_back(text); };
    }

    static std::string Path(const std::string& sub) {
        return "KESTRIX\\HKEY_CURRENT_USER\\Software\\T\\" + sub;
    }

    void Set(const std::string& key, const std::string& name, std::uint32_t type,
             const std::string& bytes) {
        ScopedRegKey k(reg_);
        ASSERT_EQ(kErrorSuccess,
                  reg_.CreateKey(kHkeyCurrentUser, ("Software\\T\\" + key).c_str(), k.Receive()));
        ASSERT_EQ(kErrorSuccess, reg_.SetValue(k.get(), name.c_str(), type, bytes.data(),
                                               std::uint32_t(bytes.size())));
    }

    bool Exists(const std::string& key) {
        ScopedRegKey k(reg_);
        return reg_.OpenKey(kHkeyCurrentUser, ("Software\\T\\" + key).c_str(), RegAccess::Read,
                            k.Receive()) == kErrorSuccess;
    }

    Snapshot Take(const std::string& key) {
        return TakeRegistrySnapshot(reg_, kHkeyCurrentUser, "Software\\T\\" + key);
    }

    // Three levels of subkeys with values of several types, one above 8192 bytes.
    void MakeTree(const std::string& top) {
        const std::uint32_t dword = 0x01020304;
        std::string big(20000, '\0');
        for (std::size_t i = 0; i < big.size(); ++i)
            big[i] = char(i * 7);
        Set(top, "", kRegSz, std::string("unnamed\0", 8));
        Set(top, "Big", kRegBinary, big);
        Set(top + "\\L1", "Dword", kRegDword,
            std::string(reinterpret_cast<const char*>(&dword), 4));
        Set(top + "\\L1\\L2", "Multi", kRegMultiSz, std::string("a\0bb\0ccc\0\0", 10));
        Set(top + "\\L1\\L2\\L3", "Expand", kRegExpandSz, std::string("%PATH%\0", 7));
        Set(top + "\\L1\\L2\\L3", "Empty", kRegBinary, std::string());
        Set(top + "\\Side", "Sz", kRegSz, std::string("side\0", 5));
    }

    MemoryRegistry reg_;
    RegistryAccess access_;
    std::vector<std::string> messages_;
};

TEST_F(KeyOperations, RenameKeepsEveryValueByteForByteAndRemovesTheOldKey) {
    MakeTree("Old");
    Snapshot before = Take("Old");
    ASSERT_EQ(7u, before.size());
    EXPECT_EQ(1, RenameKey(access_, Path("Old"), "New"));
    EXPECT_EQ(before, Take("New"));
    EXPECT_FALSE(Exists("Old"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(0u, reg_.OpenHandleCount());
}

TEST_F(KeyOperations, RenameOntoAnExistingSiblingMergesWithTheRenamedDataWinning) {
    Set("A", "Shared", kRegSz, std::string("from A\0", 7));
    Set("A\\Sub", "OnlyA", kRegSz, std::string("a\0", 2));
    Set("B", "Shared", kRegSz, std::string("from B\0", 7));
    Set("B", "OnlyB", kRegSz, std::string("b\0", 2));
    ASSERT_EQ(1, RenameKey(access_, Path("A"), "B"));
    Snapshot expected = {{":Shared", {kRegSz, std::string("from A\0", 7)}},
                         {":OnlyB", {kRegSz, std::string("b\0", 2)}},
                         {"\\Sub:OnlyA", {kRegSz, std::string("a\0", 2)}}};
    EXPECT_EQ(expected, Take("B"));
    EXPECT_FALSE(Exists("A"));
}

TEST_F(KeyOperations, NamesThatWouldLandInsideTheKeyAreRefusedBeforeAnyCopy) {
    MakeTree("Old");
    Snapshot before = Take("Old");
    for (const char* name : {"Old\\Inner", "x\\y", "\\", ""}) {
        SCOPED_TRACE(name);
        messages_.clear();
        EXPECT_EQ(0, RenameKey(access_, Path("Old"), name));
        ASSERT_EQ(1u, messages_.size());
        EXPECT_NE(std::string::npos, messages_[0].find("backslash"));
        EXPECT_EQ(before, Take("Old"));
    }
    EXPECT_FALSE(Exists("x"));
}

TEST_F(KeyOperations, RenameThatDiffersOnlyInCaseKeepsTheKey) {
    MakeTree("Old");
    Snapshot before = Take("Old");
    EXPECT_EQ(1, RenameKey(access_, Path("Old"), "Old"));
    EXPECT_EQ(1, RenameKey(access_, Path("Old"), "OLD"));
    EXPECT_EQ(before, Take("OLD"));
    char name[16];
    std::uint32_t size = sizeof name;
    ScopedRegKey parent(reg_);
    ASSERT_EQ(kErrorSuccess,
              reg_.OpenKey(kHkeyCurrentUser, "Software\\T", RegAccess::Read, parent.Receive()));
    ASSERT_EQ(kErrorSuccess, reg_.EnumKey(parent.get(), 0, name, &size));
    EXPECT_STREQ("OLD", name);
    size = sizeof name;
    EXPECT_EQ(kErrorNoMoreItems, reg_.EnumKey(parent.get(), 1, name, &size));
}

TEST_F(KeyOperations, CopyFailingHalfWayKeepsTheOriginalAndRemovesThePartialCopy) {
    MakeTree("Old");
    Snapshot before = Take("Old");
    struct Case {
        const char* what;
        long failures; // -1: every later change fails, the cleanup too
        const char* says;
    } cases[] = {
        {"cleanup possible", 1, "incomplete copy was removed"},
        {"cleanup refused", -1, "could not be removed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.clear();
        reg_.FailChangesAfter(4, kErrorAccessDenied, c.failures);
        EXPECT_EQ(0, RenameKey(access_, Path("Old"), "New"));
        reg_.FailChangesAfter(-1);
        EXPECT_EQ(before, Take("Old"));
        ASSERT_EQ(1u, messages_.size());
        EXPECT_EQ(0u, messages_[0].find("ReplicateKey failed"));
        EXPECT_NE(std::string::npos, messages_[0].find(c.says)) << messages_[0];
        EXPECT_NE(std::string::npos, messages_[0].find(Path("Old")));
        if (c.failures == 1) {
            EXPECT_FALSE(Exists("New"));
        }
    }
}

TEST_F(KeyOperations, FailedCopyIntoAnExistingKeyKeepsThatKeyAndSaysSo) {
    MakeTree("Old");
    Set("New", "Mine", kRegSz, std::string("keep\0", 5));
    reg_.FailChangesAfter(3, kErrorAccessDenied, 1);
    EXPECT_EQ(0, RenameKey(access_, Path("Old"), "New"));
    reg_.FailChangesAfter(-1);
    EXPECT_TRUE(Exists("New"));
    EXPECT_EQ(1u, Take("New").count(":Mine"));
    ASSERT_EQ(1u, messages_.size());
    EXPECT_NE(std::string::npos, messages_[0].find("existing key " + Path("New")));
}

TEST_F(KeyOperations, FailedDeleteAfterACompleteCopySaysWhereTheDataIs) {
    MakeTree("Old");
    Snapshot before = Take("Old");
    ASSERT_EQ(kErrorSuccess,
              reg_.Deny(kHkeyCurrentUser, "Software\\T\\Old\\L1\\L2", MemoryDenial::Write));
    EXPECT_EQ(0, RenameKey(access_, Path("Old"), "New"));
    EXPECT_EQ(before, Take("New"));
    EXPECT_TRUE(Exists("Old\\L1\\L2"));
    ASSERT_EQ(1u, messages_.size());
    EXPECT_EQ(0u, messages_[0].find("DestroyKey failed"));
    EXPECT_NE(std::string::npos, messages_[0].find("complete copy is " + Path("New")));
}

TEST_F(KeyOperations, DestroyKeyRemovesATreeBottomUpAndReportsARefusal) {
    MakeTree("Gone");
    ScopedRegKey parent(reg_);
    ASSERT_EQ(kErrorSuccess, reg_.OpenKey(kHkeyCurrentUser, "Software\\T", RegAccess::ReadWrite,
                                          parent.Receive()));
    EXPECT_EQ(1, DestroyKey(reg_, parent.get(), "Gone"));
    EXPECT_FALSE(Exists("Gone"));
    EXPECT_EQ(0, DestroyKey(reg_, parent.get(), "Gone"));
}

TEST_F(KeyOperations, RenameValueKeepsTypeAndLargeData) {
    std::string big(9000, 'q');
    Set("V", "Large", kRegBinary, big);
    Set("V", "Other", kRegSz, std::string("x\0", 2));
    EXPECT_EQ(1, RenameValue(access_, Path("V"), "Large", "Moved"));
    EXPECT_EQ(1, RenameValue(access_, Path("V"), "Other", "OTHER"));
    Snapshot expected = {{":Moved", {kRegBinary, big}},
                         {":OTHER", {kRegSz, std::string("x\0", 2)}}};
    EXPECT_EQ(expected, Take("V"));
    EXPECT_EQ(0, RenameValue(access_, Path("V"), "Absent", "Any"));
    EXPECT_EQ(0, RenameValue(access_, Path("Nowhere"), "Moved", "Any"));
}

TEST_F(KeyOperations, ReplaceInDataByType) {
    struct Case {
        const char* what;
        std::uint32_t type;
        std::string data;
        const char* name;
        int result;
        const char* storedAs;
        std::string stored;
    } cases[] = {
        {"string", kRegSz, std::string("C:\\old\\old.exe\0", 15), "Sz", 1, "Sz",
         std::string("C:\\newer\\newer.exe\0", 19)},
        {"expandable", kRegExpandSz, std::string("%OLD%\0", 6), "Ex", 1, "Ex",
         std::string("%newer%\0", 8)},
        {"three strings", kRegMultiSz, std::string("old\0keep\0xOLDx\0\0", 16), "Multi", 1, "Multi",
         std::string("newer\0keep\0xnewerx\0\0", 20)},
        {"unnamed value", kRegSz, std::string("old\0", 4), "(default)", 1, "",
         std::string("newer\0", 6)},
        {"dword", kRegDword, std::string("old\0", 4), "D", 0, nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Set("Data", "", kRegNone, std::string());
        EXPECT_EQ(c.result,
                  ReplaceInData(access_, Path("Data"), c.name, c.type, std::uint32_t(c.data.size()),
                                c.data.data(), "old", "newer", false));
        if (!c.storedAs)
            continue;
        Snapshot s = Take("Data");
        EXPECT_EQ(0u, s.count(":(default)"));
        auto it = s.find(std::string(":") + c.storedAs);
        ASSERT_NE(s.end(), it);
        EXPECT_EQ(c.type, it->second.first);
        EXPECT_EQ(c.stored, it->second.second);
    }
}

} // namespace
} // namespace keywright
