// The tree of keys and values read from a registry file.
#include "preview/RE4Tree.h"

#include "host/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace keywright {

namespace {

// Below this many subkeys a key is searched by looking through its list.
constexpr std::size_t kIndexFrom = 16;

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        c = AsciiUpper(c);
    return folded;
}

// Calls `step` with each backslash-separated segment of `path`, in order, until it
// returns false.
template <typename Step> void ForEachSegment(std::string_view path, Step step) {
    for (;;) {
        const std::size_t end = path.find('\\');
        if (!step(path.substr(0, end)) || end == std::string_view::npos)
            return;
        path.remove_prefix(end + 1);
    }
}

} // namespace

CRE4Key* CRE4Key::FindSubkey(std::string_view name) const {
    if (!index_.empty()) {
        const auto found = index_.find(Folded(name));
        return found == index_.end() ? nullptr : found->second;
    }
    for (const auto& subkey : subkeys_)
        if (EqualsNoCase(subkey->name_, name))
            return subkey.get();
    return nullptr;
}

CRE4Key* CRE4Key::AppendSubkey(std::string_view name) {
    subkeys_.push_back(std::make_unique<CRE4Key>(name));
    CRE4Key* added = subkeys_.back().get();
    if (!index_.empty()) {
        index_.emplace(Folded(name), added);
    } else if (subkeys_.size() >= kIndexFrom) {
        for (const auto& subkey : subkeys_)
            index_.emplace(Folded(subkey->name_), subkey.get());
    }
    return added;
}

CRE4Tree::~CRE4Tree() {
    // Taken apart level by level: a file can nest keys thousands deep (a key line of
    // backslashes), deeper than recursive destruction would have stack for.
    std::vector<std::unique_ptr<CRE4Key>> pending = std::move(root_.subkeys_);
    while (!pending.empty()) {
        std::unique_ptr<CRE4Key> key = std::move(pending.back());
        pending.pop_back();
        for (auto& subkey : key->subkeys_)
            pending.push_back(std::move(subkey));
        key->subkeys_.clear();
    }
}

CRE4Key* CRE4Tree::CreateKey(std::string_view path) {
    CRE4Key* key = &root_;
    std::size_t depth = 0;
    bool shared = true;
    ForEachSegment(path, [&](std::string_view segment) {
        // A segment equal but for case leads to the same key, since keys merge so.
        if (shared && depth < recent_.size() && EqualsNoCase(recent_[depth].name, segment)) {
            key = recent_[depth].key;
        } else {
            shared = false;
            CRE4Key* subkey = key->FindSubkey(segment);
            if (!subkey) {
                subkey = key->AppendSubkey(segment);
                ++keyCount_;
            }
            key = subkey;
            recent_.resize(depth);
            recent_.push_back({std::string(segment), key});
        }
        ++depth;
        return true;
    });
    return key;
}

void CRE4Tree::AddValue(CRE4Key* key, std::string_view name, std::uint32_t type, const void* data,
                        std::uint32_t length) {
    CRE4Value value;
    value.name.assign(name);
    value.type = type;
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    value.data.assign(bytes, bytes + length);
    key->values_.push_back(std::move(value));
    ++valueCount_;
}

long CRE4Tree::OpenKey(const CRE4Key* parent, std::string_view path, const CRE4Key** key) const {
    if (!parent) {
        *key = &root_;
        return kRE4Success;
    }
    const CRE4Key* current = parent;
    ForEachSegment(path, [&](std::string_view segment) {
        current = current->FindSubkey(segment);
        return current != nullptr;
    });
    if (!current)
        return kRE4NotFound;
    *key = current;
    return kRE4Success;
}

long CRE4Tree::EnumKey(const CRE4Key* key, std::uint32_t index, char* name,
                       std::uint32_t size) const {
    if (index >= key->subkeys_.size())
        return kRE4NotFound;
    if (size > 0) {
        const std::string& found = key->subkeys_[index]->name_;
        const std::size_t length = std::min<std::size_t>(found.size(), size - 1);
        std::memcpy(name, found.data(), length);
        name[length] = '\0';
    }
    return kRE4Success;
}

long CRE4Tree::EnumValue(const CRE4Key* key, std::uint32_t index, char* name,
                         std::uint32_t* nameSize, std::uint32_t* /*reserved*/, std::uint32_t* type,
                         std::uint8_t* data, std::uint32_t* dataSize) const {
    if (index >= key->values_.size())
        return kRE4NotFound;
    const CRE4Value& value = key->values_[index];
    const std::size_t withTerminator = value.name.size() + 1;
    if (withTerminator <= *nameSize) {
        std::memcpy(name, value.name.c_str(), withTerminator);
        *nameSize = static_cast<std::uint32_t>(withTerminator);
    } else if (*nameSize > 0) {
        std::memcpy(name, value.name.data(), *nameSize - 1);
        name[*nameSize - 1] = '\0';
    }
    if (type)
        *type = value.type;
    if (value.data.size() <= *dataSize) {
        if (!value.data.empty())
            std::memcpy(data, value.data.data(), value.data.size());
        *dataSize = static_cast<std::uint32_t>(value.data.size());
        return kRE4Success;
    }
    if (*dataSize > 0)
        std::memcpy(data, value.data.data(), *dataSize);
    return kRE4MoreData;
}

} // namespace keywright
