// Key copy, delete and rename, value rename and data replacement.
#include "registry/KeyOperations.h"

#include "host/AsciiCase.h"
#include "host/KeyPath.h"
#include "host/RootKeys.h"
#include "platform/ScopedRegKey.h"
#include "registry/ReplaceAll.h"
#include "strings/KeywrightStrings.h"

#include <vector>

namespace keywright {

using kestrix::kErrorMoreData;
using kestrix::kErrorNoMoreItems;
using kestrix::kErrorSuccess;
using kestrix::RegAccess;
using kestrix::Registry;
using kestrix::RegKey;
using kestrix::ScopedRegKey;

namespace {

// Key names are at most 255 characters and value names 16383; the buffers hold
// the longest with room to spare, so a long name never ends an enumeration early.
constexpr std::uint32_t kKeyNameBuffer = 8192;
constexpr std::uint32_t kValueNameBuffer = 16384 + 1;
constexpr std::uint32_t kFirstDataBuffer = 8192;
constexpr char kDefaultValueText[] = "(Default)";

std::string ReplaceFirstInsert(std::string text, const std::string& insert) {
    std::size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, insert);
    return text;
}

std::string Text(unsigned id, const std::string& first, const std::string& second = {}) {
    return ReplaceFirstInsert(KeywrightStringWith(id, first), second);
}

void Show(const RegistryAccess& access, const std::string& text) {
    if (access.showMessage)
        access.showMessage(text);
}

// The root of a split path, connected over the network when the path names another
// computer; a failed connection leaves handle 0, on which every call fails.
class RootKeyHandle {
public:
    RootKeyHandle(const RegistryAccess& access, const KeyPathParts& parts)
        : owned_(*access.registry) {
        if (parts.computer != access.rootText) {
            *owned_.Receive() = ConnectRemoteRoot(*access.registry, parts.computer, parts.root);
            root_ = owned_.get();
        } else {
            root_ = parts.root;
        }
    }
    RegKey get() const { return root_; }

private:
    ScopedRegKey owned_;
    RegKey root_ = 0;
};

// Opens `path` below `root` one component at a time, closing each intermediate key.
// An empty path opens the root itself.
long OpenPath(Registry& registry, RegKey root, const std::string& path, RegAccess access,
              ScopedRegKey* out) {
    ScopedRegKey current(registry);
    RegKey at = root;
    std::size_t start = 0;
    do {
        std::size_t end = path.find('\\', start);
        std::string component =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        bool last = end == std::string::npos;
        ScopedRegKey next(registry);
        if (long rc = registry.OpenKey(at, component.c_str(), last ? access : RegAccess::Read,
                                       next.Receive()))
            return rc;
        current = std::move(next);
        at = current.get();
        start = last ? std::string::npos : end + 1;
    } while (start != std::string::npos);
    *out = std::move(current);
    return kErrorSuccess;
}

// A key named by its full path, opened with the given rights; a remote computer's
// root stays connected for as long as the key is open.
class KeyAtPath {
public:
    KeyAtPath(const RegistryAccess& access, const std::string& fullKeyPath, RegAccess rights)
        : parts_(SplitKeyPath(fullKeyPath)), root_(access, parts_), key_(*access.registry) {
        // An unknown root or an unreachable computer: nothing below it can be opened.
        status_ = root_.get() == 0
                      ? kestrix::kErrorInvalidHandle
                      : OpenPath(*access.registry, root_.get(), parts_.subkey, rights, &key_);
    }
    long status() const { return status_; }
    RegKey get() const { return key_.get(); }

private:
    KeyPathParts parts_;
    RootKeyHandle root_;
    ScopedRegKey key_;
    long status_ = kErrorSuccess;
};

// Reads a value whole, growing the buffer from 8192 bytes.
long ReadValue(Registry& registry, RegKey key, const std::string& name, std::uint32_t* type,
               std::vector<unsigned char>* data) {
    data->assign(kFirstDataBuffer, 0);
    for (;;) {
        std::uint32_t size = static_cast<std::uint32_t>(data->size());
        long rc = registry.QueryValue(key, name.c_str(), type, data->data(), &size);
        if (rc == kErrorMoreData) {
            data->resize(std::max<std::size_t>(data->size() * 2, size));
            continue;
        }
        if (rc == kErrorSuccess)
            data->resize(size);
        return rc;
    }
}

bool KeyExists(Registry& registry, RegKey parent, const std::string& name) {
    ScopedRegKey key(registry);
    return registry.OpenKey(parent, name.c_str(), RegAccess::Read, key.Receive()) == kErrorSuccess;
}

std::string JoinPath(const std::string& parentPath, const std::string& name) {
    return parentPath + "\\" + name;
}

// Rename below an open parent, where `parentPath` is the parent's full key path for
// the messages.
int RenameBelow(const RegistryAccess& access, RegKey parent, const std::string& parentPath,
                const std::string& oldName, const std::string& newName) {
    Registry& registry = *access.registry;
    const std::string oldPath = JoinPath(parentPath, oldName);
    const std::string newPath = JoinPath(parentPath, newName);
    const bool merging = KeyExists(registry, parent, newName);
    if (!ReplicateKey(registry, parent, parent, oldName, newName)) {
        std::string detail;
        if (merging)
            detail = Text(kStrCopyMergedPartly, oldPath, newPath);
        else if (DestroyKey(registry, parent, newName) || !KeyExists(registry, parent, newName))
            detail = Text(kStrCopyRemoved, oldPath);
        else
            detail = Text(kStrCopyNotRemoved, oldPath, newPath);
        Show(access, std::string(KeywrightString(kStrReplicateKeyFailed)) + "\n\n" + detail);
        return 0;
    }
    if (!DestroyKey(registry, parent, oldName)) {
        Show(access, std::string(KeywrightString(kStrDestroyKeyFailed)) + "\n\n" +
                         Text(kStrDeleteLeftBoth, newPath, oldPath));
        return 0;
    }
    return 1;
}

} // namespace

int ReplicateKey(Registry& registry, RegKey sourceParent, RegKey targetParent,
                 const std::string& sourceName, const std::string& targetName) {
    ScopedRegKey source(registry), target(registry);
    if (registry.OpenKey(sourceParent, sourceName.c_str(), RegAccess::Read, source.Receive()) ||
        registry.CreateKey(targetParent, targetName.c_str(), target.Receive()))
        return 0;

    std::vector<char> name(kValueNameBuffer);
    for (std::uint32_t i = 0;; ++i) {
        std::uint32_t size = kKeyNameBuffer;
        long rc = registry.EnumKey(source.get(), i, name.data(), &size);
        if (rc == kErrorNoMoreItems)
            break;
        // Any other failure would leave subkeys behind while the caller, a rename,
        // goes on to delete the original.
        if (rc != kErrorSuccess)
            return 0;
        std::string child(name.data(), size);
        if (!ReplicateKey(registry, source.get(), target.get(), child, child))
            return 0;
    }

    std::vector<unsigned char> data(kFirstDataBuffer);
    for (std::uint32_t i = 0;;) {
        std::uint32_t nameSize = kValueNameBuffer;
        std::uint32_t dataSize = static_cast<std::uint32_t>(data.size());
        std::uint32_t type = 0;
        long rc = registry.EnumValue(source.get(), i, name.data(), &nameSize, &type, data.data(),
                                     &dataSize);
        if (rc == kErrorMoreData) {
            // The name buffer holds the longest name, so only the data can be short.
            if (data.size() >= (std::size_t{1} << 30))
                return 0;
            data.resize(std::max<std::size_t>(data.size() * 2, dataSize));
            continue;
        }
        if (rc == kErrorNoMoreItems)
            return 1;
        if (rc != kErrorSuccess)
            return 0;
        if (registry.SetValue(target.get(), name.data(), type, data.data(), dataSize))
            return 0;
        ++i;
    }
}

int DestroyKey(Registry& registry, RegKey parent, const std::string& name) {
    ScopedRegKey key(registry);
    if (registry.OpenKey(parent, name.c_str(), RegAccess::ReadWrite, key.Receive()))
        return 0;
    std::vector<char> buffer(kValueNameBuffer);
    for (;;) {
        std::uint32_t size = kKeyNameBuffer;
        long rc = registry.EnumKey(key.get(), 0, buffer.data(), &size);
        if (rc == kErrorNoMoreItems)
            break;
        if (rc != kErrorSuccess ||
            !DestroyKey(registry, key.get(), std::string(buffer.data(), size)))
            return 0;
    }
    for (;;) {
        std::uint32_t size = kValueNameBuffer;
        long rc = registry.EnumValue(key.get(), 0, buffer.data(), &size, nullptr, nullptr, nullptr);
        if (rc == kErrorNoMoreItems)
            break;
        if (rc != kErrorSuccess || registry.DeleteValue(key.get(), buffer.data()))
            return 0;
    }
    key.Close();
    return registry.DeleteKey(parent, name.c_str()) == kErrorSuccess ? 1 : 0;
}

int RenameKey(const RegistryAccess& access, const std::string& fullKeyPath,
              const std::string& newName) {
    KeyPathParts parts = SplitKeyPath(fullKeyPath);
    if (parts.subkey.empty())
        return 0; // a computer or a root key cannot be renamed
    std::size_t slash = parts.subkey.rfind('\\');
    std::string oldName =
        slash == std::string::npos ? parts.subkey : parts.subkey.substr(slash + 1);
    std::string parentSubkey = slash == std::string::npos ? "" : parts.subkey.substr(0, slash);
    // A name with a backslash would put the copy inside the key being copied, and
    // the copy would never end.
    if (newName.empty() || newName.find('\\') != std::string::npos || oldName.empty()) {
        Show(access, KeywrightStringWith(kStrBadKeyName, newName));
        return 0;
    }
    if (newName == oldName)
        return 1;

    Registry& registry = *access.registry;
    RootKeyHandle root(access, parts);
    if (root.get() == 0)
        return 0; // unknown root or unreachable computer: nothing can be opened
    ScopedRegKey opened(registry);
    RegKey parent = root.get();
    if (!parentSubkey.empty()) {
        if (OpenPath(registry, root.get(), parentSubkey, RegAccess::ReadWrite, &opened))
            return 0;
        parent = opened.get();
    }
    const std::string parentPath = fullKeyPath.substr(0, fullKeyPath.size() - oldName.size() - 1);
    if (!EqualsNoCase(newName, oldName))
        return RenameBelow(access, parent, parentPath, oldName, newName);

    // Names differ in case only: copying onto the same key and deleting it would lose
    // it, so the key passes through a free temporary name.
    std::string temporary;
    for (int n = 1; n < 1000 && temporary.empty(); ++n) {
        std::string candidate = oldName + "~" + std::to_string(n);
        if (!KeyExists(registry, parent, candidate))
            temporary = candidate;
    }
    if (temporary.empty())
        return 0;
    return RenameBelow(access, parent, parentPath, oldName, temporary) &&
           RenameBelow(access, parent, parentPath, temporary, newName);
}

int RenameValue(const RegistryAccess& access, const std::string& fullKeyPath,
                const std::string& oldName, const std::string& newName) {
    Registry& registry = *access.registry;
    KeyAtPath key(access, fullKeyPath, RegAccess::ReadWrite);
    if (key.status())
        return 0;
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    if (ReadValue(registry, key.get(), oldName, &type, &data))
        return 0;
    const auto size = static_cast<std::uint32_t>(data.size());
    if (newName == oldName)
        return 1;
    if (EqualsNoCase(newName, oldName)) {
        // Setting the new name would only overwrite the old value, and deleting the
        // old one would then lose it: delete first and restore on failure.
        if (registry.DeleteValue(key.get(), oldName.c_str()))
            return 0;
        if (registry.SetValue(key.get(), newName.c_str(), type, data.data(), size)) {
            registry.SetValue(key.get(), oldName.c_str(), type, data.data(), size);
            return 0;
        }
        return 1;
    }
    if (registry.SetValue(key.get(), newName.c_str(), type, data.data(), size))
        return 0;
    return registry.DeleteValue(key.get(), oldName.c_str()) == kErrorSuccess ? 1 : 0;
}

namespace {

// ReplaceAll into a buffer that doubles until the result fits. With `wholeString`
// only a text that is the find text as a whole is replaced, as the search found it.
std::string ReplaceGrowing(std::string_view text, std::size_t* factor, const std::string& find,
                           const std::string& replacement, bool matchCase, bool wholeString) {
    if (wholeString && !(matchCase ? text == find : EqualsNoCase(text, find)))
        return std::string(text);
    for (;;) {
        std::size_t capacity = std::max<std::size_t>(text.size() * *factor, 2) - 1;
        std::vector<char> out(capacity + 1);
        bool replaced = false;
        if (ReplaceAll(out.data(), capacity, text, find, replacement, matchCase, &replaced))
            return std::string(out.data());
        *factor *= 2;
    }
}

} // namespace

int ReplaceInData(const RegistryAccess& access, const std::string& fullKeyPath,
                  const std::string& valueName, std::uint32_t type, std::uint32_t size,
                  const void* data, const std::string& find, const std::string& replacement,
                  bool matchCase, bool wholeString, std::string* written) {
    if (type != kestrix::kRegSz && type != kestrix::kRegExpandSz && type != kestrix::kRegMultiSz)
        return 0;
    const char* bytes = static_cast<const char*>(data);
    std::string_view all(bytes, data ? size : 0);
    std::string result;
    if (type == kestrix::kRegMultiSz) {
        std::size_t factor = 2;
        for (std::size_t at = 0; at < all.size();) {
            std::size_t end = all.find('\0', at);
            std::string_view piece = all.substr(at, end == std::string_view::npos ? end : end - at);
            if (piece.empty())
                break;
            result += ReplaceGrowing(piece, &factor, find, replacement, matchCase, wholeString);
            result += '\0';
            at += piece.size() + 1;
        }
        result += '\0';
    } else {
        std::size_t factor = 2;
        std::string_view text = all.substr(0, all.find('\0'));
        result = ReplaceGrowing(text, &factor, find, replacement, matchCase, wholeString);
        result += '\0';
    }
    if (!WriteValue(access, fullKeyPath, valueName, type, result.data(),
                    static_cast<std::uint32_t>(result.size())))
        return 0;
    if (written)
        *written = std::move(result);
    return 1;
}

int WriteValue(const RegistryAccess& access, const std::string& fullKeyPath,
               const std::string& valueName, std::uint32_t type, const void* data,
               std::uint32_t size) {
    Registry& registry = *access.registry;
    KeyAtPath key(access, fullKeyPath, RegAccess::ReadWrite);
    if (key.status())
        return 0;
    std::string name = EqualsNoCase(valueName, kDefaultValueText) ? "" : valueName;
    return registry.SetValue(key.get(), name.c_str(), type, data, size) == kErrorSuccess ? 1 : 0;
}

long ReadValueAt(const RegistryAccess& access, const std::string& fullKeyPath,
                 const std::string& valueName, std::uint32_t* type, std::string* data) {
    Registry& registry = *access.registry;
    KeyAtPath key(access, fullKeyPath, RegAccess::Read);
    if (long rc = key.status())
        return rc;
    std::string name = EqualsNoCase(valueName, kDefaultValueText) ? "" : valueName;
    std::vector<unsigned char> bytes;
    long rc = ReadValue(registry, key.get(), name, type, &bytes);
    if (rc == kErrorSuccess)
        data->assign(bytes.begin(), bytes.end());
    return rc;
}

bool KeyExistsAt(const RegistryAccess& access, const std::string& fullKeyPath) {
    return KeyAtPath(access, fullKeyPath, RegAccess::Read).status() == kErrorSuccess;
}

} // namespace keywright
