// The string table answers by number and says so when a number is unknown.
#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <string>

namespace keywright {
namespace {

TEST(KeywrightStrings, LooksUpByNumber) {
    EXPECT_STREQ("Buffer too small in function EncodeSpecialChars ", KeywrightString(2094));
    EXPECT_STREQ("Velmara Keywright", KeywrightString(2106));
    for (unsigned missing : {0u, 2090u, 2121u, 2305u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(nullptr, KeywrightString(missing));
    }
}

TEST(KeywrightStrings, InsertsTextWithoutReadingItAsAFormat) {
    struct Case {
        unsigned id;
        const char* insert;
        const char* expected;
    } cases[] = {
        {kStrInvalidKey, "HKXX", "Invalid key : HKXX"},
        {kStrKeyNotFound, "My Computer\\HKEY_USERS\\%s%n",
         "Key not found : My Computer\\HKEY_USERS\\%s%n"},
        {kStrValueNotFound, "", "Value not found : "},
        {kStrAddinTitle, "ignored", "Velmara Keywright"},
        {1, "only the insert", "only the insert"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.expected, KeywrightStringWith(c.id, c.insert));
    }
}

TEST(KeywrightStrings, InsertsSeveralTextsInOrder) {
    struct Case {
        unsigned id;
        std::initializer_list<std::string> inserts;
        const char* expected;
    } cases[] = {
        {kStrCannotRenameFolder, {"C:\\a", "C:\\b"}, "Could not rename folder\n\n C:\\a\n\nto\n\nC:\\b"},
        {kStrCannotCreateUrlFile, {"C:\\x.url", "5"}, "CreateURLFile():Failed to Create C:\\x.url with 0x5"},
        // Inserts are text, never formats; missing ones leave the conversion alone.
        {kStrCannotWriteUrlFile, {"%s%x"}, "Failed to Write to %s%x with 0x%x"},
        {kStrDeleteFolderItem, {"New Folder"}, "&Delete \"New Folder\""},
        {1, {"x"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.expected, KeywrightStringWithAll(c.id, c.inserts));
    }
}

} // namespace
} // namespace keywright
