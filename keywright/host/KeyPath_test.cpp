// Full key paths: building from item texts, value locations, splitting, remote roots.
#include "host/KeyPath.h"

#include "host/RootKeys.h"
#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(KeyPath, BuildsFromTextsMetOnTheWayUpAndAddsTheValue) {
    EXPECT_EQ("My Computer\\HKEY_LOCAL_MACHINE\\Software",
              FullKeyPathFromItemTexts({"Software", "HKEY_LOCAL_MACHINE", "My Computer"}));
    EXPECT_EQ("R\\" + std::string(8191, 'k'),
              FullKeyPathFromItemTexts({std::string(9000, 'k'), "R"}));
    EXPECT_EQ("R\\a%3Ab:x%3Ay%%", ValueLocation("R\\a:b", "x:y%"));

    std::vector<std::string> shown;
    auto show = [&](const std::string& t) { shown.push_back(t); };
    EXPECT_EQ("R\\K:%3A", ValueLocation("R\\K", ":", 8, show).value_or("none"));
    EXPECT_FALSE(ValueLocation("R\\K", ":", 7, show).has_value());
    EXPECT_EQ(std::vector<std::string>{"Buffer too small in function EncodeSpecialChars "}, shown);
}

TEST(KeyPath, SplitsIntoComputerRootAndSubkey) {
    using kestrix::kHkeyLocalMachine;
    struct Case {
        const char* path;
        const char *computer, *rootName;
        kestrix::RegKey root;
        const char* subkey;
    } cases[] = {
        {"My Computer", "My Computer", "", 0, ""},
        {"My Computer\\HKEY_LOCAL_MACHINE", "My Computer", "HKEY_LOCAL_MACHINE", kHkeyLocalMachine,
         ""},
        {"PC\\hkey_local_machine\\Software\\Classes", "PC", "hkey_local_machine", kHkeyLocalMachine,
         "Software\\Classes"},
        {"FAR\\HKEY_USERS\\", "FAR", "HKEY_USERS", kestrix::kHkeyUsers, ""},
        {"PC\\HKLM\\Software", "PC", "HKLM", 0, "Software"}, // abbreviations are not full names
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        KeyPathParts parts = SplitKeyPath(c.path);
        EXPECT_EQ(c.computer, parts.computer);
        EXPECT_EQ(c.rootName, parts.rootName);
        EXPECT_EQ(c.root, parts.root);
        EXPECT_EQ(c.subkey, parts.subkey);
    }
}

TEST(KeyPath, RemoteRootsConnectOrGiveZero) {
    kestrix::MemoryRegistry registry("HOME");
    registry.AddRemoteComputer("FAR");
    kestrix::ScopedRegKey far(registry);
    *far.Receive() = ConnectRemoteRoot(registry, "FAR", kestrix::kHkeyLocalMachine);
    EXPECT_NE(0u, far.get());
    EXPECT_EQ(0u, ConnectRemoteRoot(registry, "NEAR", kestrix::kHkeyLocalMachine));
}

} // namespace
} // namespace keywright
