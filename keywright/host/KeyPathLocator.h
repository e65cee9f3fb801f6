// Finding a full key path in the editor's tree, component by component, with "/"
// accepted as a separator where no key of the longer name exists.
#pragma once

#include "host/DebugLog.h"

#include <cstdint>
#include <string>

namespace keywright {

using TreeItem = std::uintptr_t; // 0: none, or the tree's top level as a parent

// What the search needs of a tree of keys; on Windows, the editor's tree view.
class KeyTree {
public:
    virtual ~KeyTree() = default;
    virtual TreeItem FirstChild(TreeItem parent) = 0; // parent 0: the first top-level item
    virtual TreeItem NextSibling(TreeItem item) = 0;
    virtual std::string ItemText(TreeItem item) = 0;
    // Shows the item's children, filling them in first where the tree does so lazily.
    virtual void Expand(TreeItem item) = 0;
    virtual void Select(TreeItem item) = 0;
};

struct LocateResult {
    bool found = false;
    std::string unresolved; // the rest of the path that was not found
};

// Walks `path` below `parent`, expanding each key on the way and selecting the last.
LocateResult LocateKeyPath(KeyTree& tree, TreeItem parent, const std::string& path, DebugLog* log);

// The path as far as it was found plus the first component that was not.
std::string NotFoundPath(const std::string& path, const std::string& unresolved);

} // namespace keywright
