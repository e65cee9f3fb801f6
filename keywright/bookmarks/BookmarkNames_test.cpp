// The naming rules: file names made from locations, typed names, shown texts and the
// next free folder name.
#include "bookmarks/BookmarkNames.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/FileSystem.h"

namespace keywright {
namespace {

TEST(BookmarkNames, FileNamesFromLocations) {
    struct Case {
        std::string location;
        std::string expected;
    } cases[] = {
        {"My Computer\\HKEY_CURRENT_USER\\Software", "HKEY_CURRENT_USER\\Software.url"},
        {"My Computer", "My Computer.url"}, // no backslash: taken whole
        // The value part of a location holds ":" as "%3A", but its separator is a ":".
        {"My Computer\\HKEY_CURRENT_USER\\Env:Pa%3Ath", "HKEY_CURRENT_USER-Env-Pa%3Ath.url"},
        {"X\\a\\b/c:d*e?f\"g<h>i|j", "a-b-c-d-e-f-g-h-i-j.url"},
        {"X\\tab\there\nline", "tab-here-line.url"},
        {"X\\caf\xE9", "caf\xE9.url"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        std::string expected = c.expected;
        for (char& ch : expected)
            if (ch == '\\')
                ch = '-';
        EXPECT_EQ(expected, BookmarkFileName(c.location));
    }
    std::string longName = BookmarkFileName("Root\\" + std::string(300, 'k'));
    EXPECT_EQ(std::string(253, 'k') + ".url", longName);
    EXPECT_EQ(std::string(252, 'k') + "-.url", BookmarkFileName("R\\" + std::string(252, 'k') + "\\x"));
}

TEST(BookmarkNames, TypedNamesAndWhatARenameGives) {
    struct Case {
        std::string text;
        NameCheck check;
        std::string bookmarkName;
        std::string folderName;
    } cases[] = {
        {"Work", NameCheck::Ok, "Work.url", "Work"},
        {"Work.", NameCheck::Ok, "Work.url", "Work."},
        {"Work.URL", NameCheck::Ok, "Work.URL", "Work.URL"},
        {"Work.url.txt", NameCheck::Ok, "Work.url.txt.url", "Work.url.txt"},
        {"a b (2)", NameCheck::Ok, "a b (2).url", "a b (2)"},
        {"", NameCheck::Empty, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.check, CheckNewName(c.text));
        if (c.check == NameCheck::Ok) {
            EXPECT_EQ(c.bookmarkName, RenamedFileName(c.text, true));
            EXPECT_EQ(c.folderName, RenamedFileName(c.text, false));
        }
    }
    for (char forbidden : std::string("\\/:*?\"<>|")) {
        SCOPED_TRACE(forbidden);
        EXPECT_EQ(NameCheck::ForbiddenCharacter, CheckNewName(std::string("a") + forbidden + "b"));
    }
}

TEST(BookmarkNames, ShownTextDropsTheExtensionInAnyCase) {
    for (auto [name, shown] : {std::pair<const char*, const char*>{"Run.url", "Run"},
                               {"Run.URL", "Run"},
                               {"Run.Url.url", "Run.Url"},
                               {"readme.txt", "readme.txt"},
                               {".url", ""},
                               {"url", "url"}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(shown, BookmarkDisplayText(name));
    }
}

TEST(BookmarkNames, NewFolderTakesTheFirstFreeNumber) {
    struct Case {
        std::set<std::string> existing;
        std::string expected;
    } cases[] = {
        {{}, "New Folder"},
        {{"New Folder"}, "New Folder (2)"},
        {{"New Folder", "New Folder (2)"}, "New Folder (3)"},
        {{"New Folder", "New Folder (3)"}, "New Folder (2)"},
        {{"New Folder (2)"}, "New Folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(c.expected, FreeFolderName("New Folder", [&](const std::string& name) {
                      return c.existing.count(name) != 0;
                  }));
    }
}

TEST(BookmarkNames, PathComponents) {
    const std::string sep(1, kestrix::kPathSeparator);
    EXPECT_EQ("a" + sep + "b", JoinPath("a", "b"));
    EXPECT_EQ("a" + sep + "b", JoinPath("a" + sep, "b"));
    EXPECT_EQ("b.url", LastPathComponent("a" + sep + "b.url"));
    EXPECT_EQ("b.url", LastPathComponent("b.url"));
    EXPECT_EQ("a" + sep + "c", ReplaceLastComponent("a" + sep + "b", "c"));
    EXPECT_EQ("c", ReplaceLastComponent("b", "c"));
}

} // namespace
} // namespace keywright
