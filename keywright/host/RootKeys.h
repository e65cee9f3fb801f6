// The registry's root keys by full name and abbreviation, and reaching one on
// another computer.
#pragma once

#include "platform/Registry.h"

#include <cstddef>
#include <string>

namespace keywright {

struct RootKey {
    const char* fullName;
    const char* abbreviation;
    kestrix::RegKey handle;
};

// The table in its fixed order.
const RootKey* RootKeys();
constexpr std::size_t kRootKeyCount = 7;

// By full name, case-insensitively; null when unknown.
const RootKey* RootKeyByFullName(const std::string& name);
// By abbreviation ("HKLM"), case-insensitively; null when unknown.
const RootKey* RootKeyByAbbreviation(const std::string& abbreviation);
// By full name or abbreviation; 0 when the table has neither.
kestrix::RegKey RootHandleByName(const std::string& name);

// The root `root` of computer `computer` (given without the leading backslashes).
// Returns 0 when the connection fails.
kestrix::RegKey ConnectRemoteRoot(kestrix::Registry& registry, const std::string& computer,
                                  kestrix::RegKey root);

} // namespace keywright
