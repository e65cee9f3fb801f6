// The wizard's settings in the registry and its opening warning.
#include "wizard/WizardSettings.h"

#include "platform/ScopedRegKey.h"
#include "platform/memory/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

using namespace kestrix;

class WizardSettings : public ::testing::Test {
protected:
    WizardSettings() { settings_.registry = &registry_; }

    std::uint32_t Stored(const char* name) {
        ScopedRegKey key(registry_);
        std::uint32_t value = 99, size = sizeof value;
        if (registry_.OpenKey(kHkeyCurrentUser, "Software\\Velmara\\Keywright\\Replace",
                              RegAccess::Read, key.Receive()) ||
            registry_.QueryValue(key.get(), name, nullptr, &value, &size))
            return 99;
        return value;
    }

    MemoryRegistry registry_;
    SettingsBackend settings_;
};

TEST_F(WizardSettings, FirstUseGivesTheDefaultsAndStoresThem) {
    WizardCriteria c = LoadCriteria(settings_);
    EXPECT_TRUE(c.wholeRegistry && c.keys && c.values && c.data);
    EXPECT_TRUE(c.hkcr && c.hkcu && c.hklm && c.hku && c.hkcc && c.hkdd);
    EXPECT_FALSE(c.matchCase || c.wholeString);
    EXPECT_TRUE(c.findText.empty() && c.replacementText.empty());
    EXPECT_EQ(1u, Stored("RenameKeys"));
    EXPECT_EQ(0u, Stored("MatchCase"));
}

TEST_F(WizardSettings, EveryChoiceIsSavedUnderItsNameAndComesBack) {
    const struct {
        const char* name;
        bool WizardCriteria::*field;
    } cases[] = {
        {"SearchAll", &WizardCriteria::wholeRegistry}, {"RenameKeys", &WizardCriteria::keys},
        {"RenameValues", &WizardCriteria::values},     {"RenameData", &WizardCriteria::data},
        {"MatchCase", &WizardCriteria::matchCase},     {"WholeString", &WizardCriteria::wholeString},
        {"HKCU", &WizardCriteria::hkcu},               {"HKCR", &WizardCriteria::hkcr},
        {"HKCC", &WizardCriteria::hkcc},               {"HKLM", &WizardCriteria::hklm},
        {"HKDD", &WizardCriteria::hkdd},               {"HKU", &WizardCriteria::hku},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WizardCriteria flipped = LoadCriteria(settings_);
        const bool was = flipped.*c.field;
        flipped.*c.field = !was;
        SaveCriteria(settings_, flipped);
        EXPECT_EQ(was ? 0u : 1u, Stored(c.name));
        EXPECT_EQ(!was, LoadCriteria(settings_).*c.field);
        flipped.*c.field = was;
        SaveCriteria(settings_, flipped);
    }
}

TEST(WizardWarning, TheThreePartsJoinedWithoutSeparators) {
    EXPECT_EQ("Making incorrect changes to the registry can cause serious problems, including "
              "corruption that may require reinstalling Windows. If you make mistakes, your "
              "computer's configuration could be damaged.  You should edit registry entries only "
              "for settings that you cannot adjust through the user interface, and be very "
              "careful whenever you edit the registry directly.  Always make a backup before "
              "making significant changes.",
              OpeningWarning());
}

} // namespace
} // namespace keywright
