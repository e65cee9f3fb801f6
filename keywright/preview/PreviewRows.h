// What the preview shows of a registry file's tree: the rows of a key's value list
// and the order of a key's subkeys, shared by the preview window and `kwreg show`.
#pragma once

#include "preview/RE4Tree.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keywright {

// Indexes into the preview's image list.
constexpr int kImageKeyClosed = 1;
constexpr int kImageKeyOpen = 2;
constexpr int kImageStringValue = 3;
constexpr int kImageOtherValue = 4;

struct PreviewRow {
    std::string name;
    int image = 0;
    std::string data;
};

// The row of one value by the type table, or none for a type the list leaves out
// (0, 5, and 9 and above).
std::optional<PreviewRow> RowForValue(std::string_view name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t length);

// Reads a key's values through EnumValue with a data buffer that starts at 512 bytes
// and doubles whenever a value does not fit; the grown size serves the later values
// and keys too.
class ValueListReader {
public:
    ValueListReader();
    // Every row of `key`, "(Default)" "(value not set)" included when the key has no
    // unnamed value, in the list's order.
    std::vector<PreviewRow> Rows(const CRE4Tree& tree, const CRE4Key* key);
    std::size_t BufferSize() const { return data_.size(); }

private:
    std::vector<std::uint8_t> data_;
    std::vector<char> name_;
};

// The order of the list's rows and of the tree's items: ASCII letters without regard to
// case, then byte values; equal names keep their order.
bool PreviewNameLess(std::string_view a, std::string_view b);

struct PreviewChild {
    std::string name;
    const CRE4Key* key = nullptr; // null when the subkey could not be opened
    bool hasChildren = false;
};

// A key's subkeys as the tree shows them when the key first expands, sorted.
std::vector<PreviewChild> ChildrenOf(const CRE4Tree& tree, const CRE4Key* key);

// "Invalid File Format : Line N".
std::string InvalidFileFormatText(std::uint32_t line);

} // namespace keywright
