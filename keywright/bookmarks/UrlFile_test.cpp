// Bookmark files: the text written, the link read back from ours and from other
// programs' shortcuts, the location list from untrusted bytes, and the files on disk
// with their failures.
#include "bookmarks/BookmarkFiles.h"
#include "bookmarks/UrlFile.h"

#include "host/KeyPath.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace keywright {
namespace {

TEST(UrlFile, TextAndTheLinkReadBack) {
    std::string value = ValueLocation("My Computer\\HKEY_CURRENT_USER\\Env", "Pa:th");
    std::string text = UrlFileText(value);
    EXPECT_EQ("[InternetShortcut]\r\nURL=reg:My Computer\\HKEY_CURRENT_USER\\Env:Pa%3Ath\r\n",
              text);
    EXPECT_EQ(value, LocationInUrlText(text));

    struct Case {
        std::string text;
        std::optional<std::string> location;
    } cases[] = {
        {"[InternetShortcut]\r\nurl=Reg:HKCU\\Software\r\n\r\n", "HKCU\\Software"},
        {"URL=REG:HKLM", "HKLM"},
        {"[InternetShortcut]\nURL=reg:HKLM\\A\n", "HKLM\\A"},
        // Another program's shortcut goes on after the link.
        {"[InternetShortcut]\r\nURL=reg:HKLM\\A\r\nIconIndex=0\r\nHotKey=0\r\n", "HKLM\\A"},
        {"[InternetShortcut]\r\nURL=reg:\r\n", ""},
        // A web shortcut is listed but holds no location.
        {"[InternetShortcut]\r\nURL=http://example.invalid/\r\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.location, LocationInUrlText(c.text));
    }
    EXPECT_EQ("HKLM", LocationInUrlText("URL=reg:HKLM\\Software", 5)) << "cut to the buffer";
}

TEST(UrlFile, LocationListsAndBytesFromElsewhere) {
    std::string key = EncodeLocationList({"HKCU\\Software", ""});
    EXPECT_EQ(std::string("HKCU\\Software\0\0", 15), key);
    std::string bookmark = EncodeLocationList({"HKCU\\A", "A.url"});
    EXPECT_EQ(std::string("HKCU\\A\0A.url\0\0", 14), bookmark);

    struct Case {
        std::string bytes;
        std::optional<std::string> location;
        std::string fileName;
    } cases[] = {
        {key, "HKCU\\Software", ""},
        {bookmark, "HKCU\\A", "A.url"},
        {std::string("HKCU\\A\0A.url", 12), "HKCU\\A", "A.url"}, // no final NULs
        {"HKCU\\NoNul", "HKCU\\NoNul", ""},
        {std::string("\0A.url\0\0", 8), std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        // A block of its own, so that the sanitiser sees any read beyond it.
        std::vector<char> block(c.bytes.begin(), c.bytes.end());
        auto list = DecodeLocationList(block.data(), block.size());
        ASSERT_EQ(c.location.has_value(), list.has_value());
        if (list) {
            EXPECT_EQ(*c.location, list->location);
            EXPECT_EQ(c.fileName, list->fileName);
        }
    }
}

struct Shown {
    std::vector<std::string> texts;
    ShowText show() {
        return [this](const std::string& text) { texts.push_back(text); };
    }
};

TEST(BookmarkFiles, CreateUrlFileNamesWritesAndReplaces) {
    kestrix::TempTree tree;
    auto fs = kestrix::MakeSystemFileSystem();
    Shown shown;
    std::string written;
    std::string folder = tree.root();
    folder.pop_back(); // a separator is added when the folder has none

    ASSERT_EQ(kUrlFileWritten, CreateURLFile(*fs, {"My Computer\\HKEY_USERS\\.DEFAULT", ""},
                                             folder, written, shown.show()));
    EXPECT_EQ(tree.Path("HKEY_USERS-.DEFAULT.url"), written);
    EXPECT_EQ("[InternetShortcut]\r\nURL=reg:My Computer\\HKEY_USERS\\.DEFAULT\r\n",
              tree.Read("HKEY_USERS-.DEFAULT.url"));

    // A second bookmark of the key replaces the first file.
    tree.Write("Mine.url", "an older, much longer bookmark text");
    ASSERT_EQ(kUrlFileWritten,
              CreateURLFile(*fs, {"R\\HKCU", "Mine.url"}, tree.root(), written, shown.show()));
    EXPECT_EQ(UrlFileText("R\\HKCU"), tree.Read("Mine.url"));

    // A name from elsewhere that would lead out of the folder is not used.
    for (const char* name : {"..\\evil.url", "../evil.url", "..", "a:b.url"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(kUrlFileWritten,
                  CreateURLFile(*fs, {"R\\HKCU\\X", name}, tree.root(), written, shown.show()));
        EXPECT_EQ(tree.Path("HKCU-X.url"), written);
    }
    EXPECT_TRUE(shown.texts.empty());
    std::optional<std::string> read = ReadBookmarkFile(*fs, tree.Path("Mine.url"), shown.show());
    EXPECT_EQ("R\\HKCU", read);
}

TEST(BookmarkFiles, FailuresAreShownAndLeaveNoHalfFile) {
    kestrix::TempTree tree;
    auto real = kestrix::MakeSystemFileSystem();
    kestrix::FaultyFileSystem fs(*real);
    const std::string path = tree.Path("HKCU.url");
    fs.failCreate[path] = kestrix::FileFailure::AccessDenied;
    Shown shown;
    std::string written;
    EXPECT_EQ(kUrlFileFailed, CreateURLFile(fs, {"R\\HKCU", ""}, tree.root(), written, shown.show()));
    ASSERT_EQ(1u, shown.texts.size());
    const std::string deniedHex = [] {
        char text[16];
        std::snprintf(text, sizeof text, "%lx",
                      static_cast<unsigned long>(kestrix::NativeCodeFor(kestrix::FileFailure::AccessDenied)));
        return std::string(text);
    }();
    EXPECT_EQ(0u, shown.texts[0].find("CreateURLFile():Failed to Create " + path + " with 0x" +
                                      deniedHex + "\n\n"))
        << shown.texts[0];

    fs.failCreate.clear();
    fs.failWrite[path] = kestrix::FileFailure::NoSpace;
    EXPECT_EQ(kUrlFileFailed, CreateURLFile(fs, {"R\\HKCU", ""}, tree.root(), written, shown.show()));
    ASSERT_EQ(2u, shown.texts.size());
    EXPECT_EQ(0u, shown.texts[1].find("Failed to Write to " + path + " with 0x")) << shown.texts[1];
    EXPECT_EQ("", tree.Read("HKCU.url"));

    fs.failRead[path] = kestrix::FileFailure::NotFound;
    EXPECT_EQ(std::nullopt, ReadBookmarkFile(fs, path, shown.show()));
    ASSERT_EQ(3u, shown.texts.size());
    EXPECT_EQ(0u, shown.texts[2].find("Could not open file " + path + "\n\n")) << shown.texts[2];
    fs.failRead[path] = kestrix::FileFailure::Other;
    EXPECT_EQ(std::nullopt, ReadBookmarkFile(fs, path, shown.show()));
    ASSERT_EQ(4u, shown.texts.size());
    EXPECT_EQ(0u, shown.texts[3].find("Could not read from file\n\n")) << shown.texts[3];
}

} // namespace
} // namespace keywright
