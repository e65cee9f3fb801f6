// Copying, deleting and renaming keys and values, and replacing text inside string
// data, on the local registry or another computer's, addressed by full key paths.
#pragma once

#include "host/LocationEncoding.h"
#include "platform/Registry.h"

#include <cstdint>
#include <string>

namespace keywright {

// What the key operations reach the registry and the user through.
struct RegistryAccess {
    kestrix::Registry* registry = nullptr;
    // The text of the editor's root item: paths under any other computer name are
    // reached over the network.
    std::string rootText;
    // The add-in's message box.
    ShowText showMessage;
};

// Copies `sourceName` below `sourceParent` with all its values and subkeys to
// `targetName` below `targetParent`. An existing target is merged into; values of
// the same name are overwritten. Returns 1 copied, 0 failed (part may be copied).
int ReplicateKey(kestrix::Registry& registry, kestrix::RegKey sourceParent,
                 kestrix::RegKey targetParent, const std::string& sourceName,
                 const std::string& targetName);

// Deletes `name` below `parent` bottom-up. Returns 1 deleted, 0 failed.
int DestroyKey(kestrix::Registry& registry, kestrix::RegKey parent, const std::string& name);

// Gives the key at `fullKeyPath` the name `newName` (one component) by copying and
// deleting. Names with a backslash are refused before anything is copied. When the
// copy fails, a partial new key is removed and the original stays as it was; every
// failure message says what is left where.
int RenameKey(const RegistryAccess& access, const std::string& fullKeyPath,
              const std::string& newName);

// Gives a value of the key a new name, keeping its type and data.
int RenameValue(const RegistryAccess& access, const std::string& fullKeyPath,
                const std::string& oldName, const std::string& newName);

// Writes a value of the key at `fullKeyPath` whole, with that type; "(Default)"
// names the unnamed value. Returns 1 when written.
int WriteValue(const RegistryAccess& access, const std::string& fullKeyPath,
               const std::string& valueName, std::uint32_t type, const void* data,
               std::uint32_t size);

// Writes `data` (as the search read it) back with every `find` replaced; with
// `wholeString` only in strings that are `find` as a whole. Only REG_SZ,
// REG_EXPAND_SZ and REG_MULTI_SZ have new data; "(Default)" names the unnamed value.
// Returns 1 when the new data was written, which then also goes to `written` when
// given.
int ReplaceInData(const RegistryAccess& access, const std::string& fullKeyPath,
                  const std::string& valueName, std::uint32_t type, std::uint32_t size,
                  const void* data, const std::string& find, const std::string& replacement,
                  bool matchCase, bool wholeString = false, std::string* written = nullptr);

// Reads a value of the key at `fullKeyPath` whole; "(Default)" names the unnamed
// value. Returns the registry's code.
long ReadValueAt(const RegistryAccess& access, const std::string& fullKeyPath,
                 const std::string& valueName, std::uint32_t* type, std::string* data);

// Whether the key at `fullKeyPath` can be opened.
bool KeyExistsAt(const RegistryAccess& access, const std::string& fullKeyPath);

} // namespace keywright
