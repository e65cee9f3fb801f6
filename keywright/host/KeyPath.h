// Full key paths: building one from tree item texts, the value location beside it,
// and splitting one into computer, root and subkey.
#pragma once

#include "host/LocationEncoding.h"
#include "platform/Registry.h"

#include <optional>
#include <string>
#include <vector>

namespace keywright {

// Tree item texts longer than this are cut when a path is built.
constexpr std::size_t kMaxItemText = 8191;

// The full key path of an item, from its own text and its parents' texts in the
// order a walk up the tree meets them (the item first, the root item last).
std::string FullKeyPathFromItemTexts(const std::vector<std::string>& upward);

// The encoded key path, ":" and the encoded value name.
std::string ValueLocation(const std::string& fullKeyPath, const std::string& valueName);

// The same into a buffer of `capacity` bytes: when it does not fit, message 2094
// is shown and nothing is returned.
std::optional<std::string> ValueLocation(const std::string& fullKeyPath,
                                         const std::string& valueName, std::size_t capacity,
                                         const ShowText& show);

struct KeyPathParts {
    std::string computer;
    std::string rootName;   // empty when the path names only a computer
    kestrix::RegKey root{}; // 0 when the root name is not in the table
    std::string subkey;     // below the root; empty for the root itself
};

// Splits "computer\root\sub\keys". A path without a backslash is only a computer.
KeyPathParts SplitKeyPath(const std::string& fullKeyPath);

} // namespace keywright
