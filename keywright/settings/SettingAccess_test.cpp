// ReadSetting and WriteSetting against the in-memory registry: defaults created on
// first read, stored values kept, too-long values replaced, and the two messages.
#include "settings/SettingAccess.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace keywright {
namespace {

using namespace kestrix;

// A registry whose value writes can be made to fail, for the write-failure paths.
class FlakyRegistry : public MemoryRegistry {
public:
    bool failSetValue = false;
    long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override {
        return failSetValue ? kErrorAccessDenied
                            : MemoryRegistry::SetValue(key, name, type, data, size);
    }
};

class SettingAccess : public ::testing::Test {
protected:
    SettingAccess() {
        backend_.registry = &registry_;
        backend_.showMessage = [this](const char* text) { messages_.push_back(text); };
    }

    // The stored value as (type, bytes), or type kRegNone when it is missing.
    std::pair<std::uint32_t, std::string> Stored(const char* subkey, const char* name) {
        ScopedRegKey key(registry_);
        std::string path = std::string("Software\\Velmara\\Keywright\\") + subkey;
        if (registry_.OpenKey(kHkeyCurrentUser, path.c_str(), RegAccess::Read, key.Receive()))
            return {kRegNone, ""};
        char data[256];
        std::uint32_t type = 0, size = sizeof data;
        if (registry_.QueryValue(key.get(), name, &type, data, &size))
            return {kRegNone, ""};
        return {type, std::string(data, size)};
    }

    void Store(const char* subkey, const char* name, std::uint32_t type, const std::string& b) {
        ScopedRegKey key(registry_);
        std::string path = std::string("Software\\Velmara\\Keywright\\") + subkey;
        ASSERT_EQ(kErrorSuccess,
                  registry_.CreateKey(kHkeyCurrentUser, path.c_str(), key.Receive()));
        ASSERT_EQ(kErrorSuccess, registry_.SetValue(key.get(), name, type, b.data(),
                                                    static_cast<std::uint32_t>(b.size())));
    }

    static std::string Dword(std::uint32_t v) {
        return std::string(reinterpret_cast<const char*>(&v), sizeof v);
    }
    static std::string Sz(const char* text) { return std::string(text, std::strlen(text) + 1); }

    FlakyRegistry registry_;
    SettingsBackend backend_;
    std::vector<std::string> messages_;
};

TEST_F(SettingAccess, FirstReadOfEveryRowCreatesItsDefault) {
    std::uint64_t ids = 0;
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        const SettingRow& row = SettingRows()[i];
        SCOPED_TRACE(std::string(row.subkey) + "\\" + row.valueName);
        ids |= std::uint64_t{1} << row.id;
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        ASSERT_EQ(1, ReadSetting(backend_, row.id, buffer, sizeof buffer));
        std::string bytes = row.type == kRegDword
                                ? Dword(static_cast<std::uint32_t>(std::stoul(row.defaultText)))
                                : Sz(row.defaultText);
        EXPECT_EQ(std::make_pair(row.type, bytes), Stored(row.subkey, row.valueName));
        EXPECT_EQ(bytes, std::string(buffer, bytes.size()));
    }
    EXPECT_EQ((std::uint64_t{1} << kSettingCount) - 1, ids); // identifiers 0 to 46, once each

    // The cases users meet first, and the placeholder that must reach no one.
    EXPECT_EQ(std::make_pair(kRegDword, Dword(1)), Stored("Search", "SearchAll"));
    EXPECT_EQ(std::make_pair(kRegSz, Sz("")), Stored("Restore", "UrlMru"));
    EXPECT_EQ(std::make_pair(kRegSz, Sz("-1 -1 -1 -1")), Stored("Replace", "WindowPos"));
    EXPECT_NE(std::string::npos, Stored("Email", "Address").second.find("@example.invalid"));
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingAccess, StoredTextsAreReadAsTheyAreUnlessTooLong) {
    struct Case {
        const char* what;
        std::string stored;
        std::uint32_t size;
        const char* read;
    } cases[] = {
        {"fits", Sz("My Computer\\HKEY_USERS"), 64, "My Computer\\HKEY_USERS"},
        {"ends at the buffer's end", Sz("abc"), 4, "abc"},
        // Too long values are overwritten with the default, here the empty text.
        {"longer than the buffer", Sz("abcdefgh"), 4, ""},
        {"fills the buffer without a NUL", std::string("abcd"), 4, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store("Restore", "UrlMru", kRegSz, c.stored);
        char buffer[64];
        std::memset(buffer, 'x', sizeof buffer);
        ASSERT_EQ(1, ReadSetting(backend_, kSettingUrlMru, buffer, c.size));
        EXPECT_STREQ(c.read, buffer);
        EXPECT_EQ(Sz(c.read), Stored("Restore", "UrlMru").second);
    }
    // The type is not checked: a text under a number's name is handed over raw.
    Store("Email", "Port", kRegSz, Sz("on"));
    char raw[4];
    ASSERT_EQ(1, ReadSetting(backend_, kSettingPort, raw, sizeof raw));
    EXPECT_EQ(0, std::memcmp("on", raw, 3));
}

TEST_F(SettingAccess, FailedReadsLeaveTheBufferAsTheCallerFilledIt) {
    struct Case {
        const char* what;
        std::uint32_t id;
        std::uint32_t size;
        bool storesDefault;
    } cases[] = {
        {"unknown identifier", 47, 8, false},
        {"default text longer than the buffer", kSettingFullName, 4, true},
        {"number into two bytes", kSettingPort, 2, true},
        {"empty buffer", kSettingDelivery, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char buffer[8] = {'k', 'e', 'e', 'p', 'k', 'e', 'e', 'p'};
        EXPECT_EQ(0, ReadSetting(backend_, c.id, buffer, c.size));
        EXPECT_EQ(0, std::memcmp("keepkeep", buffer, 8));
        if (const SettingRow* row = FindSetting(c.id)) {
            EXPECT_EQ(c.storesDefault, Stored(row->subkey, row->valueName).first != kRegNone);
        }
    }
    // A default that cannot be stored is a failed read too.
    registry_.failSetValue = true;
    std::uint32_t flat = 99;
    EXPECT_EQ(0, ReadSetting(backend_, kSettingFlatTb, &flat, sizeof flat));
    EXPECT_EQ(99u, flat);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingAccess, WritesStoreUnderTheRowsTypeAndReportFailures) {
    struct Case {
        std::uint32_t id;
        const char *subkey, *name;
    } cases[] = {{10, "Search", "HKU"},
                 {11, "Search", "HKDD"},
                 {35, "Replace", "HKU"},
                 {36, "Replace", "HKDD"},
                 {25, "Replace", "SearchAll"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id); // rows out of identifier order are found by identifier
        std::uint32_t value = 7;
        ASSERT_EQ(1, WriteSetting(backend_, c.id, &value, sizeof value));
        EXPECT_EQ(std::make_pair(kRegDword, Dword(7)), Stored(c.subkey, c.name));
    }
    ASSERT_EQ(1, WriteSetting(backend_, kSettingSmtpServer, "smtp.example.invalid", 21));
    EXPECT_EQ(std::make_pair(kRegSz, Sz("smtp.example.invalid")), Stored("Email", "SmtpServer"));
    EXPECT_TRUE(messages_.empty());

    std::uint32_t port = 2525;
    EXPECT_EQ(0, WriteSetting(backend_, 47, &port, sizeof port));
    EXPECT_EQ(std::vector<std::string>{"default not found"}, messages_);
    EXPECT_EQ(kRegNone, Stored("Email", "Port").first);

    registry_.failSetValue = true;
    EXPECT_EQ(0, WriteSetting(backend_, kSettingPort, &port, sizeof port));
    EXPECT_EQ((std::vector<std::string>{"default not found", "Error Setting value in RegSetVal"}),
              messages_);

    // A subkey that can be neither opened nor created fails without a message.
    registry_.failSetValue = false;
    ASSERT_EQ(kErrorSuccess, registry_.Deny(kHkeyCurrentUser, "Software\\Velmara\\Keywright\\Email",
                                            MemoryDenial::All));
    EXPECT_EQ(0, WriteSetting(backend_, kSettingPort, &port, sizeof port));
    EXPECT_EQ(0, ReadSetting(backend_, kSettingPort, &port, sizeof port));
    EXPECT_EQ(2u, messages_.size());
}

} // namespace
} // namespace keywright
