// Everything below a registry key as one comparable map, for tests that check what an
// operation left behind byte for byte.
#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace kestrix {

// Values by "relative\\key\\path:name" with their type and bytes; with `keys`, every
// subkey too, as "relative\\key\\path" with type kRegNone and no bytes, so that empty
// keys count as well.
using RegistrySnapshot = std::map<std::string, std::pair<std::uint32_t, std::string>>;

enum class SnapshotKeys { ValuesOnly, WithKeys };

// Empty when the key cannot be opened.
RegistrySnapshot TakeRegistrySnapshot(Registry& registry, RegKey root, const std::string& path,
                                      SnapshotKeys keys = SnapshotKeys::ValuesOnly);

} // namespace kestrix
