// Where a search runs, taken from the editor's tree and its selection: the whole
// registry of every computer in the tree, or the subtree of the selected key.
#pragma once

#include "host/KeyPathLocator.h"
#include "registry/RegistrySearch.h"

#include <optional>
#include <string>
#include <vector>

namespace keywright {

// The tree's computers (its top-level items) with their roots in tree order; with
// `only`, that one computer item.
std::vector<SearchComputer> ComputersOfTree(KeyTree& tree, TreeItem only = 0);

// Fills the search's scope from `search.wholeRegistry`, the tree, its selected item
// and that item's full key path. Without a selection the whole registry is searched;
// a selected computer item means its roots; a selected root or key its subtree.
void SetSearchScope(RegistrySearch& search, KeyTree& tree, TreeItem selected,
                    const std::optional<std::string>& selectedPath);

} // namespace keywright
