// Tests of where the profile file is kept.
#include "app/ProfileLocation.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/FileSystem.h"

namespace sorbex {
namespace {

const std::string kSep(1, kestrix::kPathSeparator);

// A system with files, some of them write-protected, and directories made on request.
class FakePlaces : public CProfilePlaces {
public:
    std::string windows = "W" + kSep;
    std::string appData = "U" + kSep;
    std::map<std::string, bool> files; // path -> writable
    bool canMakeDirectories = true;
    std::set<std::string> made;
    std::vector<std::pair<std::string, std::string>> copies;

    std::string WindowsDirectory() override { return windows; }
    std::string ApplicationDataDirectory() override { return appData; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool CanWrite(const std::string& path) override {
        const auto found = files.find(path);
        return found != files.end() && found->second;
    }
    bool MakeDirectories(const std::string& directory) override {
        if (canMakeDirectories)
            made.insert(directory);
        return canMakeDirectories;
    }
    bool CopyExisting(const std::string& from, const std::string& to) override {
        if (!FileExists(from) || FileExists(to))
            return false;
        files[to] = true;
        copies.emplace_back(from, to);
        return true;
    }
};

TEST(ProfileLocationTest, ProfileIsNamedAfterTheProgramFile) {
    EXPECT_EQ("Sorbex.INI", ProfileFileName("C:\\Program Files\\Kestrix\\Sorbex.exe"));
    EXPECT_EQ("Sorbex.INI", ProfileFileName("Sorbex.exe"));
    EXPECT_EQ("sorbex.INI", ProfileFileName("/opt/kestrix/sorbex"));
    EXPECT_EQ("my.tool.INI", ProfileFileName("D:my.tool.exe"));
}

TEST(ProfileLocationTest, ChoosesTheWindowsDirectoryOnlyWhereItCanBeWritten) {
    const std::string windowsIni = "W" + kSep + "Sorbex.INI";
    const std::string userIni = "U" + kSep + "Kestrix" + kSep + "Sorbex.INI";
    struct Case {
        const char* name;
        bool windowsExists;
        bool windowsWritable;
        bool userExists;
        std::string expected;
        bool copied;
    };
    const Case cases[] = {
        {"an old profile that can be written stays", true, true, false, windowsIni, false},
        {"a first start keeps it in the user's folder", false, false, false, userIni, false},
        {"a protected old profile is copied once", true, false, false, userIni, true},
        {"the copy is made only the first time", true, false, true, userIni, false},
        {"the user's profile wins once it exists", false, false, true, userIni, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakePlaces places;
        if (c.windowsExists)
            places.files[windowsIni] = c.windowsWritable;
        if (c.userExists)
            places.files[userIni] = true;
        const CProfileLocation location = ChooseProfileLocation(places, "Sorbex.INI");
        EXPECT_EQ(c.expected, location.path);
        EXPECT_EQ(c.expected == windowsIni, location.inWindowsDirectory);
        EXPECT_EQ(c.copied, location.copiedFromWindowsDirectory);
        EXPECT_EQ(c.copied ? 1u : 0u, places.copies.size());
        const std::size_t made = c.expected == userIni ? 1 : 0;
        EXPECT_EQ(made, places.made.count("U" + kSep + "Kestrix" + kSep));
    }
}

TEST(ProfileLocationTest, WithoutAUserFolderTheWindowsDirectoryIsTheOnlyPlace) {
    FakePlaces places;
    places.appData.clear();
    EXPECT_EQ("W" + kSep + "Sorbex.INI", ChooseProfileLocation(places, "Sorbex.INI").path);
    FakePlaces noFolder;
    noFolder.canMakeDirectories = false;
    noFolder.files["W" + kSep + "Sorbex.INI"] = false;
    const CProfileLocation location = ChooseProfileLocation(noFolder, "Sorbex.INI");
    EXPECT_TRUE(location.inWindowsDirectory) << "reading the old profile keeps the choices";
    EXPECT_TRUE(noFolder.copies.empty());
}

} // namespace
} // namespace sorbex
