// Behaviour every registry implementation must share, run against the in-memory one
// natively and against the system registry on Windows: the in-memory model is only
// trustworthy where both pass the same table.
#include "platform/RegistryHarness.h"
#include "platform/ScopedRegKey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace kestrix {
namespace {

// Printed by name, so that test names do not carry an address.
struct Implementation {
    const char* name;
    RegistryHarnessFactory make;
};
void PrintTo(const Implementation& impl, std::ostream* os) {
    *os << impl.name;
}

class RegistryBehaviour : public ::testing::TestWithParam<Implementation> {
protected:
    void SetUp() override {
        harness_ = GetParam().make();
        suffix_ = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        base_ = "Software\\KestrixTest\\" + suffix_;
        base_key_ = ScopedRegKey(reg());
        ASSERT_EQ(kErrorSuccess,
                  reg().CreateKey(kHkeyCurrentUser, base_.c_str(), base_key_.Receive()));
    }

    void TearDown() override {
        base_key_.Close();
        for (const auto& [root, path] : cleanup_)
            Destroy(root, path);
        Destroy(kHkeyCurrentUser, base_);
        reg().DeleteKey(kHkeyCurrentUser, "Software\\KestrixTest"); // refused while others use it
    }

    Registry& reg() { return harness_->registry(); }

    // Bottom-up, since a key with subkeys cannot be deleted in one call.
    void Destroy(RegKey root, const std::string& path) {
        ScopedRegKey key(reg());
        char name[512];
        std::uint32_t size = sizeof name;
        while (!reg().OpenKey(root, path.c_str(), RegAccess::Read, key.Receive()) &&
               !reg().EnumKey(key.get(), 0, name, &size)) {
            Destroy(root, path + "\\" + name);
            size = sizeof name;
        }
        key.Close();
        reg().DeleteKey(root, path.c_str());
    }

    ScopedRegKey Create(const std::string& sub) {
        ScopedRegKey key(reg());
        EXPECT_EQ(kErrorSuccess, reg().CreateKey(base_key_.get(), sub.c_str(), key.Receive()));
        return key;
    }

    long SetString(RegKey key, const char* name, const std::string& text) {
        return reg().SetValue(key, name, kRegSz, text.c_str(), std::uint32_t(text.size() + 1));
    }

    // Subkey or value names, as a set: the two implementations need not agree on order.
    std::set<std::string> Names(RegKey key, bool values) {
        std::set<std::string> names;
        char name[512];
        for (std::uint32_t i = 0, size = sizeof name;; ++i, size = sizeof name) {
            long rc = values ? reg().EnumValue(key, i, name, &size, nullptr, nullptr, nullptr)
                             : reg().EnumKey(key, i, name, &size);
            if (rc != kErrorSuccess) {
                EXPECT_EQ(kErrorNoMoreItems, rc);
                return names;
            }
            EXPECT_EQ(std::strlen(name), size);
            names.insert(name);
        }
    }

    std::unique_ptr<RegistryHarness> harness_;
    std::string suffix_, base_;
    ScopedRegKey base_key_;
    std::vector<std::pair<RegKey, std::string>> cleanup_;
};

TEST_P(RegistryBehaviour, NamesAreCaseInsensitiveAndKeepTheirCase) {
    ScopedRegKey created = Create("Alpha\\Beta");
    ASSERT_EQ(kErrorSuccess, SetString(created.get(), "MixedCase", "x"));
    ScopedRegKey opened(reg()), self(reg());
    ASSERT_EQ(kErrorSuccess,
              reg().OpenKey(base_key_.get(), "ALPHA\\beta", RegAccess::Read, opened.Receive()));
    EXPECT_EQ(kErrorSuccess,
              reg().QueryValue(opened.get(), "MIXEDCASE", nullptr, nullptr, nullptr));
    EXPECT_EQ(std::set<std::string>{"Alpha"}, Names(base_key_.get(), false));
    EXPECT_EQ(std::set<std::string>{"MixedCase"}, Names(opened.get(), true));

    // Creating an existing key, and opening "" below one, reach the same key.
    ScopedRegKey again = Create("alpha\\BETA");
    EXPECT_EQ(kErrorSuccess, reg().QueryValue(again.get(), "mixedcase", nullptr, nullptr, nullptr));
    ASSERT_EQ(kErrorSuccess, reg().OpenKey(again.get(), "", RegAccess::Read, self.Receive()));
    EXPECT_NE(again.get(), self.get());
    EXPECT_EQ(kErrorSuccess, reg().QueryValue(self.get(), "MixedCase", nullptr, nullptr, nullptr));
}

TEST_P(RegistryBehaviour, MissingThingsAnswerNotFound) {
    ScopedRegKey key = Create("Present"), out(reg());
    struct Case {
        const char* what;
        long rc;
    } cases[] = {
        {"key", reg().OpenKey(base_key_.get(), "Absent", RegAccess::Read, out.Receive())},
        {"grandchild",
         reg().OpenKey(base_key_.get(), "Present\\Absent", RegAccess::Read, out.Receive())},
        {"value", reg().QueryValue(key.get(), "none", nullptr, nullptr, nullptr)},
        {"unset unnamed value", reg().QueryValue(key.get(), "", nullptr, nullptr, nullptr)},
        {"value to delete", reg().DeleteValue(key.get(), "none")},
        {"key to delete", reg().DeleteKey(base_key_.get(), "Absent")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(kErrorFileNotFound, c.rc);
    }
}

TEST_P(RegistryBehaviour, EnumerationEndsWithNoMoreItems) {
    ScopedRegKey key = Create("List"), empty = Create("Empty");
    for (const char* sub : {"b", "A", "c"})
        ScopedRegKey child = Create(std::string("List\\") + sub);
    for (const char* value : {"v2", "V1", ""})
        ASSERT_EQ(kErrorSuccess, SetString(key.get(), value, value));

    EXPECT_EQ((std::set<std::string>{"A", "b", "c"}), Names(key.get(), false));
    EXPECT_EQ((std::set<std::string>{"", "V1", "v2"}), Names(key.get(), true));
    EXPECT_TRUE(Names(empty.get(), false).empty());
    EXPECT_TRUE(Names(empty.get(), true).empty());
    std::uint32_t type = 0;
    char name[8];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(kErrorSuccess, reg().EnumValue(key.get(), 0, name, &size, &type, nullptr, nullptr));
    EXPECT_EQ(kRegSz, type); // the type alone, data not read
}

TEST_P(RegistryBehaviour, ShortBuffersAnswerMoreDataWithTheNeededSize) {
    ScopedRegKey key = Create("Sizes");
    const unsigned char blob[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    ASSERT_EQ(kErrorSuccess, reg().SetValue(key.get(), "Blob", kRegBinary, blob, sizeof blob));
    struct Case {
        const char* what;
        std::uint32_t capacity;
        bool withBuffer;
        long rc;
    } cases[] = {
        {"size query", 0, false, kErrorSuccess},   {"one byte short", 9, true, kErrorMoreData},
        {"empty buffer", 0, true, kErrorMoreData}, {"exact", 10, true, kErrorSuccess},
        {"roomy", 64, true, kErrorSuccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unsigned char buffer[64] = {};
        char name[8];
        std::uint32_t size = c.capacity, nameSize = sizeof name;
        EXPECT_EQ(c.rc, reg().QueryValue(key.get(), "Blob", nullptr,
                                         c.withBuffer ? buffer : nullptr, &size));
        EXPECT_EQ(sizeof blob, size);
        if (c.rc == kErrorSuccess && c.withBuffer) {
            EXPECT_EQ(0, std::memcmp(blob, buffer, sizeof blob));
        }
        size = c.capacity;
        EXPECT_EQ(c.rc, reg().EnumValue(key.get(), 0, name, &nameSize, nullptr,
                                        c.withBuffer ? buffer : nullptr, &size));
        EXPECT_EQ(sizeof blob, size);
    }

    // Name buffers count the NUL: "Blob" needs 5, the subkey "Sixsix" 7.
    ScopedRegKey child = Create("Sizes\\Sixsix");
    char name[16];
    std::uint32_t size = 6;
    EXPECT_EQ(kErrorMoreData, reg().EnumKey(key.get(), 0, name, &size));
    size = 7;
    EXPECT_EQ(kErrorSuccess, reg().EnumKey(key.get(), 0, name, &size));
    EXPECT_EQ(6u, size);
    size = 4;
    EXPECT_EQ(kErrorMoreData,
              reg().EnumValue(key.get(), 0, name, &size, nullptr, nullptr, nullptr));
    size = 5;
    EXPECT_EQ(kErrorSuccess, reg().EnumValue(key.get(), 0, name, &size, nullptr, nullptr, nullptr));

    // A string's stored size may count more than its 8-bit bytes, but never less.
    ASSERT_EQ(kErrorSuccess, SetString(key.get(), "Text", "hello world"));
    size = 4;
    EXPECT_EQ(kErrorMoreData, reg().QueryValue(key.get(), "Text", nullptr, name, &size));
    EXPECT_GE(size, 12u);
}

TEST_P(RegistryBehaviour, ValuesKeepTypeAndBytes) {
    ScopedRegKey key = Create("Types");
    const std::uint32_t dword = 0xDEADBEEF;
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string bytes;
    } cases[] = {
        {"Sz", kRegSz, std::string("text\0", 5)},
        {"Expand", kRegExpandSz, std::string("%TEMP%\\x\0", 9)},
        {"Binary", kRegBinary, std::string("\x00\x01\xFF\x7F", 4)},
        {"Dword", kRegDword, std::string(reinterpret_cast<const char*>(&dword), 4)},
        {"Multi", kRegMultiSz, std::string("one\0two\0three\0\0", 15)},
        {"", kRegSz, std::string("unnamed\0", 8)},
        {"EmptyBinary", kRegBinary, std::string()},
    };
    for (const Case& c : cases)
        ASSERT_EQ(kErrorSuccess, reg().SetValue(key.get(), c.name, c.type, c.bytes.data(),
                                                std::uint32_t(c.bytes.size())));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char buffer[64];
        std::uint32_t type = 0, size = sizeof buffer;
        ASSERT_EQ(kErrorSuccess, reg().QueryValue(key.get(), c.name, &type, buffer, &size));
        EXPECT_EQ(c.type, type);
        EXPECT_EQ(c.bytes, std::string(buffer, size));
    }
    // Overwriting under another case replaces the type; deleting removes only that value.
    std::uint32_t type = 0;
    ASSERT_EQ(kErrorSuccess, reg().SetValue(key.get(), "SZ", kRegDword, &dword, 4));
    EXPECT_EQ(kErrorSuccess, reg().QueryValue(key.get(), "Sz", &type, nullptr, nullptr));
    EXPECT_EQ(kRegDword, type);
    EXPECT_EQ(kErrorSuccess, reg().DeleteValue(key.get(), "dword"));
    EXPECT_EQ(kErrorFileNotFound, reg().QueryValue(key.get(), "Dword", nullptr, nullptr, nullptr));
    EXPECT_EQ(kErrorSuccess, reg().QueryValue(key.get(), "Binary", nullptr, nullptr, nullptr));
}

TEST_P(RegistryBehaviour, RefusalsUseTheirOwnCodes) {
    Create("Parent\\Child");
    EXPECT_EQ(kErrorAccessDenied, reg().DeleteKey(base_key_.get(), "Parent"));
    EXPECT_EQ(std::set<std::string>{"Parent"}, Names(base_key_.get(), false));

    ScopedRegKey readOnly(reg());
    ASSERT_EQ(kErrorSuccess,
              reg().OpenKey(base_key_.get(), "Parent", RegAccess::Read, readOnly.Receive()));
    EXPECT_EQ(kErrorAccessDenied, SetString(readOnly.get(), "v", "x"));
    EXPECT_EQ(kErrorAccessDenied, reg().DeleteValue(readOnly.get(), "v"));

    // A handle outlives its key, but everything done through it is refused.
    ScopedRegKey doomed(reg());
    ASSERT_EQ(kErrorSuccess, reg().OpenKey(base_key_.get(), "Parent\\Child", RegAccess::ReadWrite,
                                           doomed.Receive()));
    EXPECT_EQ(kErrorSuccess, reg().DeleteKey(base_key_.get(), "Parent\\Child"));
    EXPECT_EQ(kErrorKeyDeleted, SetString(doomed.get(), "v", "x"));
    char name[16];
    std::uint32_t size = sizeof name;
    EXPECT_EQ(kErrorKeyDeleted, reg().EnumKey(doomed.get(), 0, name, &size));
    EXPECT_EQ(kErrorSuccess, doomed.Close());
    EXPECT_EQ(kErrorSuccess, reg().DeleteKey(base_key_.get(), "PARENT"));
}

TEST_P(RegistryBehaviour, AliasesShowKeysOfTheHivesBehindThem) {
    ScopedRegKey key = Create("Alias");
    ASSERT_EQ(kErrorSuccess, SetString(key.get(), "Seen", "yes"));
    struct Case {
        RegKey root;
        std::string written; // below HKEY_LOCAL_MACHINE; empty: the current user's key
        RegKey alias;
        std::string read;
    } cases[] = {
        {0, "", kHkeyUsers, harness_->CurrentUserSid() + "\\" + base_ + "\\Alias"},
        {kHkeyLocalMachine, "Software\\Classes\\KestrixTest-" + suffix_, kHkeyClassesRoot,
         "KestrixTest-" + suffix_},
        {kHkeyLocalMachine,
         "System\\CurrentControlSet\\Hardware Profiles\\Current\\KestrixTest-" + suffix_,
         kHkeyCurrentConfig, "KestrixTest-" + suffix_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read);
        if (c.root) {
            ScopedRegKey written(reg());
            long rc = reg().CreateKey(c.root, c.written.c_str(), written.Receive());
            if (rc == kErrorAccessDenied)
                GTEST_SKIP() << "no write access to HKEY_LOCAL_MACHINE";
            ASSERT_EQ(kErrorSuccess, rc);
            cleanup_.emplace_back(c.root, c.written);
            ASSERT_EQ(kErrorSuccess, SetString(written.get(), "Seen", "yes"));
        }
        ScopedRegKey read(reg());
        ASSERT_EQ(kErrorSuccess,
                  reg().OpenKey(c.alias, c.read.c_str(), RegAccess::Read, read.Receive()));
        EXPECT_EQ(kErrorSuccess, reg().QueryValue(read.get(), "Seen", nullptr, nullptr, nullptr));
    }
}

TEST_P(RegistryBehaviour, ConnectingReachesThisComputerOrAnswersBadNetpath) {
    ScopedRegKey local(reg()), key(reg()), remote(reg());
    ASSERT_EQ(kErrorSuccess, reg().ConnectRegistry(nullptr, kHkeyCurrentUser, local.Receive()));
    EXPECT_EQ(kErrorSuccess,
              reg().OpenKey(local.get(), base_.c_str(), RegAccess::Read, key.Receive()));
    EXPECT_EQ(kErrorBadNetpath, reg().ConnectRegistry("\\\\KESTRIX-NO-SUCH-HOST.invalid",
                                                      kHkeyLocalMachine, remote.Receive()));
}

// Each implementation's test program supplies the harness; the suffix names it.
INSTANTIATE_TEST_SUITE_P(Registry, RegistryBehaviour,
                         ::testing::Values(Implementation{RegistryHarnessName(),
                                                          &MakeRegistryHarness}),
                         [](const ::testing::TestParamInfo<Implementation>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace kestrix
