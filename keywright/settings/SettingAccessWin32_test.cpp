// The settings store against the system registry: every row created on first read
// with its type and default, and written values read back, under a scratch root.
#include "settings/SettingAccess.h"

#include "platform/ScopedRegKey.h"
#include "platform/win32/Win32Registry.h"
#include "settings/DecimalConversion.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

namespace keywright {
namespace {

using namespace kestrix;

class SettingAccessWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = "Software\\KestrixTest\\settings-" + std::to_string(GetTickCount()) + "-" +
                   std::to_string(GetCurrentProcessId());
        backend_.registry = &registry_;
        backend_.rootPath = scratch_ + "\\";
    }
    void TearDown() override {
        for (const char* subkey : {"Search", "Restore", "Replace", "Email", "Toolbar"})
            registry_.DeleteKey(kHkeyCurrentUser, (scratch_ + "\\" + subkey).c_str());
        registry_.DeleteKey(kHkeyCurrentUser, scratch_.c_str());
        registry_.DeleteKey(kHkeyCurrentUser, "Software\\KestrixTest");
    }

    Win32Registry registry_;
    SettingsBackend backend_;
    std::string scratch_;
};

TEST_F(SettingAccessWin32, FirstReadsCreateEveryDefault) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingRow& row = SettingRows()[i];
        SCOPED_TRACE(std::string(row.subkey) + "\\" + row.valueName);
        char buffer[64] = {};
        ASSERT_EQ(1, ReadSetting(backend_, row.id, buffer, sizeof buffer));

        ScopedRegKey key(registry_);
        ASSERT_EQ(kErrorSuccess,
                  registry_.OpenKey(kHkeyCurrentUser, (backend_.rootPath + row.subkey).c_str(),
                                    RegAccess::Read, key.Receive()));
        char stored[64] = {};
        std::uint32_t type = 0, size = sizeof stored;
        ASSERT_EQ(kErrorSuccess,
                  registry_.QueryValue(key.get(), row.valueName, &type, stored, &size));
        EXPECT_EQ(row.type, type);
        if (row.type == kRegDword) {
            std::uint32_t expected = static_cast<std::uint32_t>(DecimalToInt(row.defaultText));
            ASSERT_EQ(4u, size);
            EXPECT_EQ(0, std::memcmp(&expected, stored, 4));
            EXPECT_EQ(0, std::memcmp(&expected, buffer, 4));
        } else {
            EXPECT_STREQ(row.defaultText, stored);
            EXPECT_STREQ(row.defaultText, buffer);
        }
    }
}

TEST_F(SettingAccessWin32, TooLongValuesAreReplacedByTheDefault) {
    const char* position = "10 20 610 470";
    ASSERT_EQ(1, WriteSetting(backend_, kSettingSearchWindowPos, position, 14));
    // Too long for 8 bytes: replaced by "-1 -1 -1 -1", which does not fit either.
    char text[32] = "keep";
    EXPECT_EQ(0, ReadSetting(backend_, kSettingSearchWindowPos, text, 8));
    EXPECT_STREQ("keep", text);
    ASSERT_EQ(1, ReadSetting(backend_, kSettingSearchWindowPos, text, sizeof text));
    EXPECT_STREQ("-1 -1 -1 -1", text);
}

} // namespace
} // namespace keywright
