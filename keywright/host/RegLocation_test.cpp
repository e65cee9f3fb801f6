// Resolution of "reg:" locations, full root names and abbreviations.
#include "host/RegLocation.h"

#include "host/RootKeys.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

const std::string kRoot = "My Computer";

TEST(RegLocation, ResolvesToAFullKeyPath) {
    struct Case {
        const char* location;
        std::string path;
    } cases[] = {
        {"reg:HKLM\\Software", kRoot + "\\HKEY_LOCAL_MACHINE\\Software"},
        {"reg:/HKEY_LOCAL_MACHINE/Software", kRoot + "\\HKEY_LOCAL_MACHINE/Software"},
        {"reg:HKU\\.DEFAULT", kRoot + "\\HKEY_USERS\\.DEFAULT"},
        {"REG:hkcu/Software/Vendor", kRoot + "\\HKEY_CURRENT_USER\\Software/Vendor"},
        {"Reg:\"\\HKCR\\.txt", kRoot + "\\HKEY_CLASSES_ROOT\\.txt"},
        {"HKLM", kRoot + "\\HKEY_LOCAL_MACHINE"},
        {"HKLM\\", kRoot + "\\HKEY_LOCAL_MACHINE"},
        {"hkcc", kRoot + "\\HKEY_CURRENT_CONFIG"},
        {"hkpd", kRoot + "\\HKEY_PERFORMANCE_DATA"},
        {"HkDd\\Config", kRoot + "\\HKEY_DYN_DATA\\Config"},
        {"hkey_users\\x", kRoot + "\\hkey_users\\x"},
        {"HKEY", kRoot + "\\HKEY"},
        {"My Computer\\HKEY_USERS", "My Computer\\HKEY_USERS"},
        {"reg:OTHERPC\\HKEY_USERS", "OTHERPC\\HKEY_USERS"},
        {"reg:", ""},
        {"reg:\\\\//\"\"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        ResolvedLocation r = ResolveLocation(c.location, kRoot);
        EXPECT_TRUE(r.valid);
        EXPECT_EQ(c.path, r.path);
    }
}

TEST(RegLocation, UnknownAbbreviationsAreInvalid) {
    struct Case {
        const char* location;
        const char* abbreviation;
    } cases[] = {
        {"reg:HKXX\\Software", "HKXX"},
        {"reg:/hkxx/Software", "hkxx"},
        {"HK", "HK"},
        {"HKLMX\\a", "HKLMX"},
        {"HKCU2", "HKCU2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.location);
        ResolvedLocation r = ResolveLocation(c.location, kRoot);
        EXPECT_FALSE(r.valid);
        EXPECT_EQ(c.abbreviation, r.abbreviation);
    }
}

TEST(RootKeys, NamesAndAbbreviationsGiveTheirHandles) {
    struct Case {
        const char* name;
        kestrix::RegKey handle;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", 0x80000000u},
        {"hkcu", 0x80000001u},
        {"hkey_local_machine", 0x80000002u},
        {"HKU", 0x80000003u},
        {"HKPD", 0x80000004u},
        {"HKEY_CURRENT_CONFIG", 0x80000005u},
        {"HKDD", 0x80000006u},
        {"HKEY_LOCAL", 0},
        {"", 0},
        {"HKLM ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.handle, RootHandleByName(c.name));
    }
    EXPECT_EQ(nullptr, RootKeyByFullName("HKLM"));
    EXPECT_EQ(nullptr, RootKeyByAbbreviation("HKEY_USERS"));
}

} // namespace
} // namespace keywright
