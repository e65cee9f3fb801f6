// The root-key table and remote root connection.
#include "host/RootKeys.h"

#include "host/AsciiCase.h"

namespace keywright {

namespace {

using namespace kestrix;

constexpr RootKey kTable[kRootKeyCount] = {
    {"HKEY_CLASSES_ROOT", "HKCR", kHkeyClassesRoot},
    {"HKEY_CURRENT_CONFIG", "HKCC", kHkeyCurrentConfig},
    {"HKEY_CURRENT_USER", "HKCU", kHkeyCurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", kHkeyLocalMachine},
    {"HKEY_USERS", "HKU", kHkeyUsers},
    {"HKEY_PERFORMANCE_DATA", "HKPD", kHkeyPerformanceData},
    {"HKEY_DYN_DATA", "HKDD", kHkeyDynData},
};

} // namespace

const RootKey* RootKeys() {
    return kTable;
}

const RootKey* RootKeyByFullName(const std::string& name) {
    for (const RootKey& root : kTable)
        if (EqualsNoCase(name, root.fullName))
            return &root;
    return nullptr;
}

const RootKey* RootKeyByAbbreviation(const std::string& abbreviation) {
    for (const RootKey& root : kTable)
        if (EqualsNoCase(abbreviation, root.abbreviation))
            return &root;
    return nullptr;
}

RegKey RootHandleByName(const std::string& name) {
    const RootKey* root = RootKeyByFullName(name);
    if (root == nullptr)
        root = RootKeyByAbbreviation(name);
    return root ? root->handle : 0;
}

RegKey ConnectRemoteRoot(Registry& registry, const std::string& computer, RegKey root) {
    RegKey result = 0;
    std::string machine = "\\\\" + computer;
    if (registry.ConnectRegistry(machine.c_str(), root, &result) != kErrorSuccess)
        return 0;
    return result;
}

} // namespace keywright
