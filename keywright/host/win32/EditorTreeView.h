// The editor's tree view seen as a tree of keys, and the full key paths of its items.
#pragma once

#include "host/KeyPathLocator.h"

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

namespace keywright {

// Drives the tree view with messages, so it works from any thread of the process.
class EditorTreeView : public KeyTree {
public:
    explicit EditorTreeView(HWND tree) : tree_(tree) {}
    TreeItem FirstChild(TreeItem parent) override;
    TreeItem NextSibling(TreeItem item) override;
    std::string ItemText(TreeItem item) override;
    void Expand(TreeItem item) override;
    void Select(TreeItem item) override;

private:
    HWND tree_;
};

// The text of the tree's first top-level item, at most 128 characters.
std::string TreeRootText(HWND tree);

// The full key path of `item`; nothing when the item is null.
std::optional<std::string> FullKeyPathOfItem(HWND tree, HTREEITEM item);

// The caret item (the selected key); null when there is none.
HTREEITEM CaretItem(HWND tree);

// The full key path of the caret item; nothing when there is none.
std::optional<std::string> CurrentKeyPath(HWND tree);

} // namespace keywright
