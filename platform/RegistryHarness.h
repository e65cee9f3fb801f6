// What the shared registry behaviour tests need from each implementation under test.
#pragma once

#include "platform/Registry.h"

#include <memory>
#include <string>

namespace kestrix {

class RegistryHarness {
public:
    virtual ~RegistryHarness() = default;
    virtual Registry& registry() = 0;
    // The string SID whose hive under HKEY_USERS is HKEY_CURRENT_USER.
    virtual std::string CurrentUserSid() = 0;
};

using RegistryHarnessFactory = std::unique_ptr<RegistryHarness> (*)();

// Defined once in each implementation's test program.
std::unique_ptr<RegistryHarness> MakeRegistryHarness();
const char* RegistryHarnessName();

} // namespace kestrix
