// Registry snapshots for tests.
#include "platform/testing/RegistrySnapshot.h"

#include "platform/ScopedRegKey.h"

#include <vector>

namespace kestrix {

namespace {

constexpr std::uint32_t kNameBuffer = 16384 + 1;
constexpr std::size_t kDataBuffer = 1 << 20;

void Collect(Registry& registry, RegKey key, const std::string& prefix, SnapshotKeys keys,
             RegistrySnapshot* out) {
    std::vector<char> name(kNameBuffer);
    std::vector<unsigned char> data(kDataBuffer);
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = kNameBuffer, dataSize = std::uint32_t(data.size()), type = 0;
        if (registry.EnumValue(key, i, name.data(), &size, &type, data.data(), &dataSize))
            break;
        (*out)[prefix + ":" + std::string(name.data(), size)] = {
            type, std::string(data.begin(), data.begin() + dataSize)};
    }
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = kNameBuffer;
        if (registry.EnumKey(key, i, name.data(), &size))
            break;
        const std::string child = prefix + "\\" + std::string(name.data(), size);
        ScopedRegKey opened(registry);
        if (registry.OpenKey(key, name.data(), RegAccess::Read, opened.Receive()))
            continue;
        if (keys == SnapshotKeys::WithKeys)
            (*out)[child] = {kRegNone, ""};
        Collect(registry, opened.get(), child, keys, out);
    }
}

} // namespace

RegistrySnapshot TakeRegistrySnapshot(Registry& registry, RegKey root, const std::string& path,
                                      SnapshotKeys keys) {
    RegistrySnapshot snapshot;
    ScopedRegKey key(registry);
    if (registry.OpenKey(root, path.c_str(), RegAccess::Read, key.Receive()) == kErrorSuccess)
        Collect(registry, key.get(), "", keys, &snapshot);
    return snapshot;
}

} // namespace kestrix
