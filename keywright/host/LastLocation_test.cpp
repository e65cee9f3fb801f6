// The last location: stored encoded in UrlMru at detach, decoded when restored.
#include "host/LastLocation.h"

#include "host/LocationEncoding.h"
#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstring>

namespace keywright {
namespace {

using namespace kestrix;

class LastLocation : public ::testing::Test {
protected:
    LastLocation() { settings_.registry = &registry_; }

    long StoreUrlMru(const char* text) {
        ScopedRegKey key(registry_);
        long rc = registry_.CreateKey(kHkeyCurrentUser, "Software\\Velmara\\Keywright\\Restore",
                                      key.Receive());
        return rc ? rc
                  : registry_.SetValue(key.get(), "UrlMru", kRegSz, text,
                                       static_cast<std::uint32_t>(std::strlen(text) + 1));
    }

    MemoryRegistry registry_;
    SettingsBackend settings_;
};

TEST_F(LastLocation, RoundTripsThroughTheEncodedSetting) {
    for (const char* path : {"My Computer\\HKEY_LOCAL_MACHINE\\Software",
                             "My Computer\\HKEY_CURRENT_USER\\odd:name\\100%"}) {
        SCOPED_TRACE(path);
        ASSERT_EQ(1, RememberLocation(settings_, path));
        char stored[128];
        ASSERT_EQ(1, ReadSetting(settings_, kSettingUrlMru, stored, sizeof stored));
        EXPECT_EQ(EncodeSpecialChars(path), stored);
        EXPECT_EQ(path, RestoreLocation(settings_));
    }
}

TEST_F(LastLocation, EmptyTooLongAndBadlyEscapedPaths) {
    EXPECT_EQ(0, RememberLocation(settings_, ""));
    EXPECT_EQ("", RestoreLocation(settings_));

    // A path that could not be read back is not stored over the previous one.
    ASSERT_EQ(1, RememberLocation(settings_, "Earlier"));
    EXPECT_EQ(0, RememberLocation(settings_, std::string(kLastLocationSize, 'k')));
    EXPECT_EQ("Earlier", RestoreLocation(settings_));

    ASSERT_EQ(kErrorSuccess, StoreUrlMru("My Computer\\HKEY_USERS%3A%zz\\x"));
    EXPECT_EQ("My Computer\\HKEY_USERS:", RestoreLocation(settings_));
}

} // namespace
} // namespace keywright
