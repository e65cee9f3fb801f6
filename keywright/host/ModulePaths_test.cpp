// The help path beside the DLL and a program's file name, from the paths the system gives.
#include "host/ModulePaths.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(ModulePaths, HelpFileReplacesTheModuleNameInTheUpperCasedPath) {
    const struct {
        const char* module;
        std::optional<std::string> help;
    } cases[] = {
        {"C:\\Program Files\\Keywright\\keywright.dll",
         "C:\\PROGRAM FILES\\KEYWRIGHT\\keywright.hlp"},
        // The first occurrence counts, even in a folder name.
        {"D:\\keywright.dll.d\\Keywright.DLL", "D:\\keywright.hlp"},
        {"C:\\tools\\other.dll", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        EXPECT_EQ(c.help, HelpPathForModule(c.module));
    }
}

TEST(ModulePaths, FileNameIsThePartAfterTheLastSeparator) {
    EXPECT_EQ("regedit.exe", FileNameOfPath("C:\\windows\\regedit.exe"));
    EXPECT_EQ("regedit.exe", FileNameOfPath("/opt/wine/regedit.exe"));
    EXPECT_EQ("regedit.exe", FileNameOfPath("regedit.exe"));
    EXPECT_EQ("", FileNameOfPath("C:\\dir\\"));
}

} // namespace
} // namespace keywright
