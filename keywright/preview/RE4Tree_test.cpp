// The tree answers as the registry does: paths without regard to case, enumeration
// by index, short buffers.
#include "preview/RE4Tree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace keywright {
namespace {

TEST(RE4Tree, CreatesAndOpensKeysByPath) {
    CRE4Tree tree;
    CRE4Key* deep = tree.CreateKey("HKEY_CURRENT_USER\\Software\\Kestrix");
    EXPECT_EQ(deep, tree.CreateKey("hkey_current_user\\SOFTWARE\\kestrix"));
    EXPECT_EQ("Kestrix", deep->Name());
    EXPECT_EQ(3u, tree.KeyCount());

    struct Case {
        const char* name;
        const CRE4Key* parent;
        const char* path;
        long result;
        const CRE4Key* key;
    } cases[] = {
        {"no parent gives the root", nullptr, "ignored", kRE4Success, tree.Root()},
        {"a full path", tree.Root(), "HKEY_CURRENT_USER\\software\\KESTRIX", kRE4Success, deep},
        {"a relative path", tree.Root()->Subkeys()[0].get(), "Software\\Kestrix", kRE4Success,
         deep},
        {"a missing segment", tree.Root(), "HKEY_CURRENT_USER\\Hardware", kRE4NotFound, nullptr},
        {"a longer path", tree.Root(), "HKEY_CURRENT_USER\\Software\\Kestrix\\X", kRE4NotFound,
         nullptr},
        {"an empty segment names a key that isn't there", tree.Root(), "", kRE4NotFound, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRE4Key* key = nullptr;
        EXPECT_EQ(c.result, tree.OpenKey(c.parent, c.path, &key));
        EXPECT_EQ(c.key, key);
    }
}

TEST(RE4Tree, LooksUpManySubkeysWithoutRegardToCase) {
    // Enough subkeys to be looked up through the index, which must fold case as the
    // list does.
    CRE4Tree tree;
    for (int i = 0; i < 40; ++i)
        tree.CreateKey("Root\\Key" + std::to_string(i));
    CRE4Key* again = tree.CreateKey("ROOT\\KEY7");
    EXPECT_EQ("Key7", again->Name());
    EXPECT_EQ(again, tree.CreateKey("root\\key7"));
    EXPECT_EQ(41u, tree.KeyCount());
    const CRE4Key* found = nullptr;
    EXPECT_EQ(kRE4Success, tree.OpenKey(tree.Root(), "root\\KEY39", &found));
    EXPECT_EQ("Key39", found->Name());
    EXPECT_EQ(kRE4NotFound, tree.OpenKey(tree.Root(), "root\\KEY40", &found));
}

TEST(RE4Tree, EnumeratesSubkeysIntoBuffersOfAnySize) {
    CRE4Tree tree;
    tree.CreateKey("P\\First");
    tree.CreateKey("P\\second");
    const CRE4Key* parent = tree.Root()->Subkeys()[0].get();
    char name[16];
    EXPECT_EQ(kRE4Success, tree.EnumKey(parent, 1, name, sizeof name));
    EXPECT_STREQ("second", name);
    EXPECT_EQ(kRE4NotFound, tree.EnumKey(parent, 2, name, sizeof name));
    // A name longer than the buffer is cut, and still terminated.
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(kRE4Success, tree.EnumKey(parent, 0, name, 4));
    EXPECT_STREQ("Fir", name);
    EXPECT_EQ('x', name[4]);
}

TEST(RE4Tree, EnumeratesValuesAndAsksForMoreRoom) {
    CRE4Tree tree;
    CRE4Key* key = tree.CreateKey("K");
    const std::string big(600, 'b');
    tree.AddValue(key, "small", 3, "\x01\x02", 2);
    tree.AddValue(key, "big", 3, big.data(), static_cast<std::uint32_t>(big.size()));
    tree.AddValue(key, "small", 1, "", 1); // the same name again is kept
    EXPECT_EQ(3u, tree.ValueCount());

    char name[32];
    std::uint8_t data[512];
    std::uint32_t nameSize = sizeof name;
    std::uint32_t dataSize = sizeof data;
    std::uint32_t type = 0;
    EXPECT_EQ(kRE4Success,
              tree.EnumValue(key, 0, name, &nameSize, nullptr, &type, data, &dataSize));
    EXPECT_STREQ("small", name);
    EXPECT_EQ(6u, nameSize); // with its terminator
    EXPECT_EQ(3u, type);
    EXPECT_EQ(2u, dataSize);

    // 600 bytes don't fit 512: as many as fit are copied, the size stays, 234.
    nameSize = sizeof name;
    dataSize = sizeof data;
    EXPECT_EQ(kRE4MoreData,
              tree.EnumValue(key, 1, name, &nameSize, nullptr, &type, data, &dataSize));
    EXPECT_EQ(512u, dataSize);
    EXPECT_EQ('b', data[511]);
    // Asked again with room, the same index answers.
    std::uint8_t larger[1024];
    dataSize = sizeof larger;
    EXPECT_EQ(kRE4Success,
              tree.EnumValue(key, 1, name, &nameSize, nullptr, &type, larger, &dataSize));
    EXPECT_EQ(600u, dataSize);
    EXPECT_STREQ("big", name);

    // A name too long for its buffer is cut and terminated; its size stays.
    nameSize = 3;
    dataSize = sizeof data;
    EXPECT_EQ(kRE4Success,
              tree.EnumValue(key, 2, name, &nameSize, nullptr, &type, data, &dataSize));
    EXPECT_STREQ("sm", name);
    EXPECT_EQ(3u, nameSize);
    EXPECT_EQ(1u, type);

    EXPECT_EQ(kRE4NotFound,
              tree.EnumValue(key, 3, name, &nameSize, nullptr, &type, data, &dataSize));
}

} // namespace
} // namespace keywright
