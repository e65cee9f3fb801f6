// The launcher's shared text: restore, ignore, and the split into key and value.
#include "host/LauncherLocation.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(LauncherLocation, SplitsAtTheLastColonAfterTheFourthCharacter) {
    using A = LauncherLocation::Action;
    struct Case {
        std::string text;
        A action;
        std::string key;
        std::string value;
    } cases[] = {
        {"", A::kRestoreLast, "", ""},
        {"reg:", A::kIgnore, "", ""},
        {"HKCU", A::kIgnore, "", ""},
        {"reg:HKCU", A::kGoto, "reg:HKCU", ""},
        {"reg:HKLM\\Software:Value%3AName", A::kGoto, "reg:HKLM\\Software", "Value:Name"},
        {"reg:HKLM\\My__space__Key:My__space__Value", A::kGoto, "reg:HKLM\\My Key", "My Value"},
        {"reg:HKLM\\a%%b:c%%d", A::kGoto, "reg:HKLM\\a%b", "c%d"},
        {"reg:HKLM\\Software:ab%4", A::kGoto, "reg:HKLM\\Software", "ab"},
        {"reg:HKLM\\a%zzb:v", A::kGoto, "reg:HKLM\\a", "v"},
        {"abcd:", A::kGoto, "abcd", ""},
        {"abc:d", A::kGoto, "abc:d", ""},
        {"C:\\x:y", A::kGoto, "C:\\x", "y"},
        {std::string("reg:HKCU\0:junk", 14), A::kGoto, "reg:HKCU", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LauncherLocation l = ParseLauncherText(c.text);
        EXPECT_EQ(c.action, l.action);
        EXPECT_EQ(c.key, l.key);
        EXPECT_EQ(c.value, l.value);
    }
}

TEST(LauncherLocation, ReadsNoMoreThanTheSharedText) {
    std::string text = "reg:HKCU\\" + std::string(9000, 'k') + ":value";
    LauncherLocation l = ParseLauncherText(text);
    EXPECT_EQ(kLauncherTextSize - 1, l.key.size());
    EXPECT_TRUE(l.value.empty());
}

} // namespace
} // namespace keywright
