// The tree of keys and values that a registry file describes, asked the way the
// registry is asked: open a key by path, enumerate subkeys and values, with the
// registry's own result codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace keywright {

constexpr long kRE4Success = 0;
constexpr long kRE4NotFound = 3;   // no such path, or no more items
constexpr long kRE4MoreData = 234; // the data buffer was too small

struct CRE4Value {
    std::string name; // empty for the key's unnamed (default) value
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

class CRE4Key {
public:
    explicit CRE4Key(std::string_view name) : name_(name) {}

    // One path segment; never holds a backslash.
    const std::string& Name() const { return name_; }
    // In the order of first appearance in the file.
    const std::vector<std::unique_ptr<CRE4Key>>& Subkeys() const { return subkeys_; }
    // In file order; two values of one name are both kept.
    const std::vector<CRE4Value>& Values() const { return values_; }

private:
    friend class CRE4Tree;

    CRE4Key* FindSubkey(std::string_view name) const;
    CRE4Key* AppendSubkey(std::string_view name);

    std::string name_;
    std::vector<std::unique_ptr<CRE4Key>> subkeys_;
    std::vector<CRE4Value> values_;
    // Subkeys by upper-cased name, once there are enough of them that looking through
    // the list for every key line would cost more than the map (an export's big keys
    // have thousands of subkeys).
    std::unordered_map<std::string, CRE4Key*> index_;
};

class CRE4Tree {
public:
    CRE4Tree() : root_(std::string_view()) {}
    ~CRE4Tree();
    CRE4Tree(const CRE4Tree&) = delete;
    CRE4Tree& operator=(const CRE4Tree&) = delete;

    CRE4Key* Root() { return &root_; }
    const CRE4Key* Root() const { return &root_; }

    // The key at a backslash-separated path below the root, created with any missing
    // parents. Segments compare without regard to case (ASCII letters), and a key
    // keeps the spelling of its first appearance. An empty segment names a key with
    // an empty name.
    CRE4Key* CreateKey(std::string_view path);

    // Appends a value to `key`, copying name and data; never merges.
    void AddValue(CRE4Key* key, std::string_view name, std::uint32_t type, const void* data,
                  std::uint32_t length);

    // With no parent: the root and kRE4Success. Otherwise the key at `path` below the
    // parent and kRE4Success, or kRE4NotFound when a segment does not exist.
    long OpenKey(const CRE4Key* parent, std::string_view path, const CRE4Key** key) const;

    // Subkey `index`'s name in `name`: at most `size` - 1 characters and always a
    // terminating zero. kRE4NotFound past the last subkey.
    long EnumKey(const CRE4Key* key, std::uint32_t index, char* name, std::uint32_t size) const;

    // Value `index`: kRE4NotFound past the last one. The name goes to `name` with its
    // terminator when it fits, and `*nameSize` becomes its length with the
    // terminator; otherwise `*nameSize` - 1 bytes and a terminator are stored and the
    // size stays. When the data fit, they are copied, `*dataSize` becomes their
    // length and the result is kRE4Success; otherwise `*dataSize` bytes are copied,
    // the size stays and the result is kRE4MoreData, so that the caller asks again
    // with a larger buffer. `reserved` and `type` may be null.
    long EnumValue(const CRE4Key* key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                   std::uint32_t* reserved, std::uint32_t* type, std::uint8_t* data,
                   std::uint32_t* dataSize) const;

    // Keys below the root, and values, added so far.
    std::size_t KeyCount() const { return keyCount_; }
    std::size_t ValueCount() const { return valueCount_; }

private:
    CRE4Key root_;
    // The keys of the last path created, by depth: key lines that follow each other
    // share most of their path, and the shared part needs no lookup.
    struct RecentSegment {
        std::string name;
        CRE4Key* key;
    };
    std::vector<RecentSegment> recent_;
    std::size_t keyCount_ = 0;
    std::size_t valueCount_ = 0;
};

} // namespace keywright
