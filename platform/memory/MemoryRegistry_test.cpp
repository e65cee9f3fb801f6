// What only the in-memory registry has: its switches and its documented order; also
// the harness that runs the shared behaviour table against it.
#include "platform/RegistryHarness.h"
#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrix {

namespace {
class MemoryHarness : public RegistryHarness {
public:
    Registry& registry() override { return registry_; }
    std::string CurrentUserSid() override { return registry_.CurrentUserSid(); }

private:
    MemoryRegistry registry_;
};
} // namespace

std::unique_ptr<RegistryHarness> MakeRegistryHarness() {
    return std::make_unique<MemoryHarness>();
}
const char* RegistryHarnessName() {
    return "Memory";
}

namespace {

TEST(MemoryRegistry, SubkeysEnumerateByUpperCasedNameValuesByCreation) {
    MemoryRegistry reg;
    ScopedRegKey key(reg), child(reg);
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(kHkeyCurrentUser, "Order", key.Receive()));
    for (const char* sub : {"b", "C", "a", "B2", "_x"})
        ASSERT_EQ(kErrorSuccess, reg.CreateKey(key.get(), sub, child.Receive()));
    for (const char* value : {"zeta", "Alpha", "mid"})
        ASSERT_EQ(kErrorSuccess, reg.SetValue(key.get(), value, kRegBinary, nullptr, 0));

    std::vector<std::string> subkeys, values;
    char name[64];
    for (std::uint32_t i = 0, size = sizeof name; !reg.EnumKey(key.get(), i, name, &size);
         ++i, size = sizeof name)
        subkeys.push_back(name);
    for (std::uint32_t i = 0, size = sizeof name;
         !reg.EnumValue(key.get(), i, name, &size, nullptr, nullptr, nullptr);
         ++i, size = sizeof name)
        values.push_back(name);
    // "_" sorts after the letters once they are upper-cased.
    EXPECT_EQ((std::vector<std::string>{"a", "b", "B2", "C", "_x"}), subkeys);
    EXPECT_EQ((std::vector<std::string>{"zeta", "Alpha", "mid"}), values);
}

TEST(MemoryRegistry, DeniedKeysRefuseWhatTheDenialCovers) {
    MemoryRegistry reg;
    ScopedRegKey made(reg), readOnly(reg);
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(kHkeyLocalMachine, "SAM\\Inner", made.Receive()));
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(kHkeyLocalMachine, "Locked", made.Receive()));
    ASSERT_EQ(kErrorSuccess, reg.Deny(kHkeyLocalMachine, "SAM", MemoryDenial::All));
    ASSERT_EQ(kErrorSuccess, reg.Deny(kHkeyLocalMachine, "Locked", MemoryDenial::Write));
    EXPECT_EQ(kErrorFileNotFound, reg.Deny(kHkeyLocalMachine, "Nowhere", MemoryDenial::All));

    struct Case {
        const char* path;
        RegAccess access;
        long rc;
    } cases[] = {
        {"SAM", RegAccess::Read, kErrorAccessDenied},
        {"SAM", RegAccess::ReadWrite, kErrorAccessDenied},
        // Only the denied key itself is guarded, as a permission on it would be.
        {"SAM\\Inner", RegAccess::Read, kErrorSuccess},
        {"Locked", RegAccess::Read, kErrorSuccess},
        {"Locked", RegAccess::ReadWrite, kErrorAccessDenied},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ScopedRegKey key(reg);
        EXPECT_EQ(c.rc, reg.OpenKey(kHkeyLocalMachine, c.path, c.access, key.Receive()));
    }
    EXPECT_EQ(kErrorAccessDenied, reg.CreateKey(kHkeyLocalMachine, "Locked\\New", made.Receive()));
    EXPECT_EQ(kErrorAccessDenied, reg.DeleteKey(kHkeyLocalMachine, "Locked"));
    EXPECT_EQ(kErrorAccessDenied, reg.DeleteKey(kHkeyLocalMachine, ""));

    // Creating below a read-only handle needs the right to create there. Some
    // emulated registries let it pass; this one refuses, as the documented API does.
    ASSERT_EQ(kErrorSuccess,
              reg.OpenKey(kHkeyLocalMachine, "SAM\\Inner", RegAccess::Read, readOnly.Receive()));
    EXPECT_EQ(kErrorAccessDenied, reg.CreateKey(readOnly.get(), "New", made.Receive()));
}

TEST(MemoryRegistry, RemoteComputersHaveTheirOwnHives) {
    MemoryRegistry reg("HOME");
    reg.AddRemoteComputer("Far");
    ScopedRegKey farMachine(reg), made(reg), probe(reg);
    ASSERT_EQ(kErrorSuccess,
              reg.ConnectRegistry("\\\\FAR", kHkeyLocalMachine, farMachine.Receive()));
    ASSERT_EQ(kErrorSuccess, reg.CreateKey(farMachine.get(), "OnlyThere", made.Receive()));
    EXPECT_EQ(kErrorFileNotFound,
              reg.OpenKey(kHkeyLocalMachine, "OnlyThere", RegAccess::Read, probe.Receive()));

    struct Case {
        const char* computer;
        RegKey root;
        long rc;
    } cases[] = {
        {"\\\\far", kHkeyUsers, kErrorSuccess},
        {"\\\\Far", kHkeyCurrentUser, kErrorInvalidHandle},
        {"\\\\Far", kHkeyClassesRoot, kErrorInvalidHandle},
        {"\\\\home", kHkeyCurrentUser, kErrorSuccess},
        {"\\\\Near", kHkeyLocalMachine, kErrorBadNetpath},
        {"", kHkeyDynData, kErrorInvalidHandle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.computer);
        ScopedRegKey key(reg);
        EXPECT_EQ(c.rc, reg.ConnectRegistry(c.computer, c.root, key.Receive()));
    }
    farMachine.Close();
    made.Close();
    EXPECT_EQ(0u, reg.OpenHandleCount());
}

} // namespace
} // namespace kestrix
