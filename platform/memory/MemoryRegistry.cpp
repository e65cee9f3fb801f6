// The in-memory registry: a tree of keys per computer, handles into it, and the
// predefined roots mapped onto it the way the real registry maps them.
#include "platform/memory/MemoryRegistry.h"

#include <cstring>
#include <iterator>
#include <vector>

namespace kestrix {

namespace memreg {

struct Value {
    std::string name;
    std::uint32_t type = kRegNone;
    std::vector<unsigned char> data;
};

struct Node {
    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    MemoryDenial denial = MemoryDenial::None;
    std::map<std::string, std::shared_ptr<Node>> children; // by upper-cased name
    std::vector<Value> values;                             // in order of creation
};

struct Computer {
    std::shared_ptr<Node> machine = std::make_shared<Node>();
    std::shared_ptr<Node> users = std::make_shared<Node>();
};

} // namespace memreg

namespace {

using memreg::Node;
using memreg::Value;

std::string Upper(const std::string& s) {
    std::string u = s;
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return u;
}

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = path ? path : ""; *p; ++p) {
        if (*p == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += *p;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Follows `path` below `from`; null when a component is missing.
std::shared_ptr<Node> Walk(std::shared_ptr<Node> from, const char* path) {
    for (const std::string& part : SplitPath(path)) {
        auto it = from->children.find(Upper(part));
        if (it == from->children.end())
            return nullptr;
        from = it->second;
    }
    return from;
}

std::shared_ptr<Node> MakePath(std::shared_ptr<Node> from, const char* path) {
    for (const std::string& part : SplitPath(path)) {
        auto& slot = from->children[Upper(part)];
        if (!slot) {
            slot = std::make_shared<Node>();
            slot->name = part;
            slot->parent = from.get();
        }
        from = slot;
    }
    return from;
}

Value* FindValue(Node& node, const char* name) {
    std::string key = Upper(name ? name : "");
    for (Value& v : node.values)
        if (Upper(v.name) == key)
            return &v;
    return nullptr;
}

// Copies a name into a caller's buffer by the registry's rule for name sizes.
long CopyName(const std::string& name, char* buffer, std::uint32_t* size) {
    if (buffer == nullptr || size == nullptr)
        return kErrorInvalidParameter;
    if (name.size() + 1 > *size)
        return kErrorMoreData;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *size = static_cast<std::uint32_t>(name.size());
    return kErrorSuccess;
}

// Copies value data by the registry's rule for data sizes.
long CopyData(const Value& v, std::uint32_t* type, void* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr)
        return kErrorInvalidParameter;
    if (type)
        *type = v.type;
    if (size == nullptr)
        return kErrorSuccess;
    std::uint32_t needed = static_cast<std::uint32_t>(v.data.size());
    std::uint32_t capacity = *size;
    *size = needed;
    if (data == nullptr)
        return kErrorSuccess;
    if (needed > capacity)
        return kErrorMoreData;
    if (needed)
        std::memcpy(data, v.data.data(), needed);
    return kErrorSuccess;
}

void MarkDeleted(Node& node) {
    node.deleted = true;
    for (auto& child : node.children)
        MarkDeleted(*child.second);
}

} // namespace

MemoryRegistry::MemoryRegistry(std::string computerName, std::string currentUserSid)
    : computerName_(std::move(computerName)), currentUserSid_(std::move(currentUserSid)),
      local_(std::make_unique<memreg::Computer>()) {
    MakePath(local_->machine, "Software\\Classes");
    MakePath(local_->machine, "System\\CurrentControlSet\\Hardware Profiles\\Current");
    MakePath(local_->users, ".DEFAULT");
    MakePath(local_->users, currentUserSid_.c_str());
}

MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::AddRemoteComputer(const std::string& name) {
    auto& slot = remotes_[Upper(name)];
    if (!slot)
        slot = std::make_unique<memreg::Computer>();
}

long MemoryRegistry::Resolve(RegKey key, Handle* out) const {
    std::shared_ptr<Node> node;
    switch (key) {
    case kHkeyLocalMachine:
        node = local_->machine;
        break;
    case kHkeyUsers:
        node = local_->users;
        break;
    case kHkeyCurrentUser:
        node = Walk(local_->users, currentUserSid_.c_str());
        break;
    case kHkeyClassesRoot:
        node = Walk(local_->machine, "Software\\Classes");
        break;
    case kHkeyCurrentConfig:
        node = Walk(local_->machine, "System\\CurrentControlSet\\Hardware Profiles\\Current");
        break;
    case kHkeyPerformanceData:
    case kHkeyDynData:
        return kErrorInvalidHandle;
    default: {
        auto it = handles_.find(key);
        if (it == handles_.end())
            return kErrorInvalidHandle;
        *out = it->second;
        return out->node->deleted ? kErrorKeyDeleted : kErrorSuccess;
    }
    }
    if (!node)
        return kErrorFileNotFound;
    out->node = node;
    out->access = RegAccess::ReadWrite;
    return kErrorSuccess;
}

RegKey MemoryRegistry::NewHandle(const std::shared_ptr<Node>& node, RegAccess access) {
    RegKey key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = Handle{node, access};
    return key;
}

long MemoryRegistry::TakeChange() {
    if (changesLeft_ < 0)
        return kErrorSuccess;
    if (changesLeft_ == 0) {
        if (failuresLeft_ == 0) {
            changesLeft_ = -1;
            return kErrorSuccess;
        }
        if (failuresLeft_ > 0)
            --failuresLeft_;
        return failureCode_;
    }
    --changesLeft_;
    return kErrorSuccess;
}

long MemoryRegistry::FindKey(RegKey parent, const char* subkey, std::shared_ptr<Node>* out) const {
    Handle h;
    if (long rc = Resolve(parent, &h))
        return rc;
    *out = Walk(h.node, subkey);
    return *out ? kErrorSuccess : kErrorFileNotFound;
}

long MemoryRegistry::Deny(RegKey root, const char* subkey, MemoryDenial denial) {
    std::shared_ptr<Node> node;
    if (long rc = FindKey(root, subkey, &node))
        return rc;
    node->denial = denial;
    return kErrorSuccess;
}

long MemoryRegistry::OpenKey(RegKey parent, const char* subkey, RegAccess access, RegKey* result) {
    if (result == nullptr)
        return kErrorInvalidParameter;
    std::shared_ptr<Node> node;
    if (long rc = FindKey(parent, subkey, &node))
        return rc;
    if (node->denial == MemoryDenial::All ||
        (node->denial == MemoryDenial::Write && access == RegAccess::ReadWrite))
        return kErrorAccessDenied;
    *result = NewHandle(node, access);
    return kErrorSuccess;
}

long MemoryRegistry::CreateKey(RegKey parent, const char* subkey, RegKey* result) {
    if (result == nullptr)
        return kErrorInvalidParameter;
    Handle h;
    if (long rc = Resolve(parent, &h))
        return rc;
    // Walk as far as the keys exist; creating below that point needs write access to
    // the deepest existing key.
    std::shared_ptr<Node> node = h.node;
    std::vector<std::string> parts = SplitPath(subkey);
    std::size_t i = 0;
    for (; i < parts.size(); ++i) {
        auto it = node->children.find(Upper(parts[i]));
        if (it == node->children.end())
            break;
        node = it->second;
    }
    if (i < parts.size()) {
        bool viaParentHandle = (i == 0);
        if (node->denial != MemoryDenial::None ||
            (viaParentHandle && h.access != RegAccess::ReadWrite))
            return kErrorAccessDenied;
        if (long rc = TakeChange())
            return rc;
        std::string rest;
        for (; i < parts.size(); ++i)
            rest += parts[i] + "\\";
        node = MakePath(node, rest.c_str());
    } else if (node->denial != MemoryDenial::None) {
        return kErrorAccessDenied;
    }
    *result = NewHandle(node, RegAccess::ReadWrite);
    return kErrorSuccess;
}

long MemoryRegistry::CloseKey(RegKey key) {
    if (IsPredefinedKey(key))
        return kErrorSuccess;
    return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

long MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    Handle h;
    if (long rc = Resolve(key, &h))
        return rc;
    if (index >= h.node->children.size())
        return kErrorNoMoreItems;
    auto it = h.node->children.begin();
    std::advance(it, index);
    return CopyName(it->second->name, name, nameSize);
}

long MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                               std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    Handle h;
    if (long rc = Resolve(key, &h))
        return rc;
    if (index >= h.node->values.size())
        return kErrorNoMoreItems;
    const Value& v = h.node->values[index];
    if (long rc = CopyName(v.name, name, nameSize))
        return rc;
    return CopyData(v, type, data, dataSize);
}

long MemoryRegistry::QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                                std::uint32_t* dataSize) {
    Handle h;
    if (long rc = Resolve(key, &h))
        return rc;
    const Value* v = FindValue(*h.node, name);
    if (!v)
        return kErrorFileNotFound;
    return CopyData(*v, type, data, dataSize);
}

long MemoryRegistry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                              std::uint32_t size) {
    Handle h;
    if (long rc = Resolve(key, &h))
        return rc;
    if (h.access != RegAccess::ReadWrite)
        return kErrorAccessDenied;
    if (data == nullptr && size != 0)
        return kErrorInvalidParameter;
    if (long rc = TakeChange())
        return rc;
    Value* v = FindValue(*h.node, name);
    if (!v) {
        h.node->values.push_back(Value{name ? name : "", type, {}});
        v = &h.node->values.back();
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    v->type = type;
    v->data.assign(bytes, bytes + size);
    return kErrorSuccess;
}

long MemoryRegistry::DeleteValue(RegKey key, const char* name) {
    Handle h;
    if (long rc = Resolve(key, &h))
        return rc;
    if (h.access != RegAccess::ReadWrite)
        return kErrorAccessDenied;
    Value* v = FindValue(*h.node, name);
    if (!v)
        return kErrorFileNotFound;
    if (long rc = TakeChange())
        return rc;
    h.node->values.erase(h.node->values.begin() + (v - h.node->values.data()));
    return kErrorSuccess;
}

long MemoryRegistry::DeleteKey(RegKey parent, const char* subkey) {
    std::shared_ptr<Node> node;
    if (long rc = FindKey(parent, subkey, &node))
        return rc;
    // Hive roots and keys that still hold subkeys stay, as in the real registry.
    if (node->parent == nullptr || !node->children.empty() || node->denial != MemoryDenial::None)
        return kErrorAccessDenied;
    if (long rc = TakeChange())
        return rc;
    MarkDeleted(*node);
    node->parent->children.erase(Upper(node->name));
    node->parent = nullptr;
    return kErrorSuccess;
}

long MemoryRegistry::ConnectRegistry(const char* computer, RegKey root, RegKey* result) {
    if (result == nullptr)
        return kErrorInvalidParameter;
    std::string name = computer ? computer : "";
    while (!name.empty() && name.front() == '\\')
        name.erase(0, 1);
    if (name.empty() || Upper(name) == Upper(computerName_)) {
        Handle h;
        if (long rc = Resolve(root, &h))
            return rc;
        *result = NewHandle(h.node, RegAccess::ReadWrite);
        return kErrorSuccess;
    }
    auto it = remotes_.find(Upper(name));
    if (it == remotes_.end())
        return kErrorBadNetpath;
    // Only the two real hives travel over the network; the aliases are local.
    if (root == kHkeyLocalMachine)
        *result = NewHandle(it->second->machine, RegAccess::ReadWrite);
    else if (root == kHkeyUsers)
        *result = NewHandle(it->second->users, RegAccess::ReadWrite);
    else
        return kErrorInvalidHandle;
    return kErrorSuccess;
}

} // namespace kestrix
